#include <locale>
#include <stdexcept>

#include "purge/CaseMapping.h"

namespace text_case {
namespace {

// The case tables of a UTF-8 locale without language rules; the user's own
// locale when that one is missing; ASCII-only rules as a last resort.
const std::ctype<wchar_t>& CaseFacet() {
    static const std::locale caseLocale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            try {
                return std::locale(name);
            } catch (const std::runtime_error&) {
            }
        }
        return std::locale::classic();
    }();
    return std::use_facet<std::ctype<wchar_t>>(caseLocale);
}

}  // namespace

char32_t SystemLowerCaseOf(char32_t c) {
    return static_cast<char32_t>(CaseFacet().tolower(static_cast<wchar_t>(c)));
}

char32_t SystemUpperCaseOf(char32_t c) {
    return static_cast<char32_t>(CaseFacet().toupper(static_cast<wchar_t>(c)));
}

}  // namespace text_case
