// The case of one character beyond ASCII by the system's own tables,
// without the rules of any one language (no Turkish dotless i). A character
// the tables do not map comes back as it is.
#pragma once

namespace text_case {

char32_t SystemLowerCaseOf(char32_t c);
char32_t SystemUpperCaseOf(char32_t c);

}  // namespace text_case
