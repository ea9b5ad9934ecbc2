#include "purge/UnicodeText.h"

#include <climits>
#include <cwchar>
#include <stdexcept>

#include "purge/CaseMapping.h"

namespace {

constexpr char32_t kEscapeBase = 0xDC00;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the valid sequence that starts at text[i] and its code point;
// 0 when the byte there does not start a valid sequence.
std::size_t ValidSequence(std::string_view text, std::size_t i, char32_t& cp) {
    auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t length;
    char32_t minimum;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        auto b = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(b)) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF are not
    // characters; their bytes stay bytes.
    if (cp < minimum || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return length;
}

bool Mappable(char32_t c) {
    // Escaped bytes are no characters, and a narrow wchar_t cannot carry
    // characters beyond its range.
    return !(c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) &&
           static_cast<unsigned long>(c) <= static_cast<unsigned long>(WCHAR_MAX);
}

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        std::size_t length = ValidSequence(text, i, cp);
        if (length == 0) {
            out += kEscapeBase + static_cast<unsigned char>(text[i]);
            ++i;
        } else {
            out += cp;
            i += length;
        }
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += static_cast<char>(c - kEscapeBase);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

char32_t LowerCaseOf(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if (!Mappable(c)) return c;
    return text_case::SystemLowerCaseOf(c);
}

char32_t UpperCaseOf(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
    if (!Mappable(c)) return c;
    return text_case::SystemUpperCaseOf(c);
}

std::u32string LowerCase(std::u32string text) {
    for (char32_t& c : text) c = LowerCaseOf(c);
    return text;
}

std::string LowerCase(std::string_view text) { return EncodeUtf8(LowerCase(DecodeUtf8(text))); }

std::string UpperCase(std::string_view text) {
    std::u32string chars = DecodeUtf8(text);
    for (char32_t& c : chars) c = UpperCaseOf(c);
    return EncodeUtf8(chars);
}
