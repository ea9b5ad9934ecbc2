// The invariant locale's case tables, which the file system's own
// case-insensitive names follow too.
#include "platform/win32/SystemHeaders.h"
#include "purge/CaseMapping.h"

namespace text_case {
namespace {

char32_t Mapped(char32_t c, DWORD how) {
    // One UTF-16 unit in, one out: characters beyond it stay as they are.
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) return c;
    wchar_t in = static_cast<wchar_t>(c);
    wchar_t out = in;
    if (::LCMapStringEx(LOCALE_NAME_INVARIANT, how, &in, 1, &out, 1, nullptr, nullptr, 0) != 1) {
        return c;
    }
    return static_cast<char32_t>(out);
}

}  // namespace

char32_t SystemLowerCaseOf(char32_t c) { return Mapped(c, LCMAP_LOWERCASE); }
char32_t SystemUpperCaseOf(char32_t c) { return Mapped(c, LCMAP_UPPERCASE); }

}  // namespace text_case
