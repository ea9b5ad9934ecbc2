// File-name matching with the program's wildcard rules.
#include <string_view>

#include "purge/StrProc.h"
#include "purge/UnicodeText.h"

namespace {

bool OnlyStars(std::u32string_view text) {
    return text.find_first_not_of(U'*') == std::u32string_view::npos;
}

bool Match(std::u32string_view text, std::u32string_view pattern) {
    if (text == pattern || pattern.empty()) return true;
    if (text.empty()) return OnlyStars(pattern);
    std::size_t i = 0;
    std::size_t j = 0;
    while (j < pattern.size()) {
        char32_t p = pattern[j];
        if (p == U'?') {
            if (i == text.size()) return false;
            ++i, ++j;
        } else if (p == U'*') {
            // The first literal character still to come; the star swallows
            // text up to its first occurrence and never reconsiders.
            std::size_t next = pattern.find_first_not_of(U"*?", j);
            if (next == std::u32string_view::npos) return true;
            while (i < text.size() && text[i] != pattern[next]) ++i;
            if (i == text.size()) return false;
            ++j;
        } else {
            if (i == text.size() || text[i] != p) return false;
            ++i, ++j;
        }
    }
    return i == text.size();
}

std::u32string Prepared(const std::string& text, bool caseSensitive) {
    std::u32string chars = DecodeUtf8(text);
    return caseSensitive ? chars : LowerCase(std::move(chars));
}

}  // namespace

bool HasWildcards(const std::string& text) { return text.find_first_of("?*") != std::string::npos; }

bool WildcardMatch(const std::string& text, const std::string& pattern, bool caseSensitive) {
    return Match(Prepared(text, caseSensitive), Prepared(pattern, caseSensitive));
}

bool NameMatchesSpec(const std::string& name, const std::string& spec, bool caseSensitive) {
    if (!HasWildcards(spec)) return name == spec;
    std::u32string n = Prepared(name, caseSensitive);
    std::u32string s = Prepared(spec, caseSensitive);
    std::u32string_view nv = n;
    std::u32string_view sv = s;
    std::size_t dn = nv.rfind(U'.');
    std::size_t ds = sv.rfind(U'.');
    bool nameDot = dn != std::u32string_view::npos;
    bool specDot = ds != std::u32string_view::npos;
    if (nameDot && specDot) {
        return Match(nv.substr(0, dn), sv.substr(0, ds)) &&
               Match(nv.substr(dn + 1), sv.substr(ds + 1));
    }
    if (specDot) return OnlyStars(sv.substr(ds + 1)) && Match(nv, sv.substr(0, ds));
    if (!nameDot) return Match(nv, sv);
    return false;
}
