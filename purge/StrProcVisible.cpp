// Names made safe to show: control characters and stray bytes as escapes.
#include <cstdio>

#include "purge/StrProc.h"

namespace {

std::string Escaped(unsigned char byte) {
    switch (byte) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default: {
            char text[5];
            std::snprintf(text, sizeof text, "\\x%02x", byte);
            return text;
        }
    }
}

// Length of the valid UTF-8 sequence at text[i], or 0 when there is none.
std::size_t SequenceLength(const std::string& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead >= 0xc2 && lead <= 0xdf   ? 2
                         : lead >= 0xe0 && lead <= 0xef ? 3
                         : lead >= 0xf0 && lead <= 0xf4 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return 0;
    }
    const auto second = static_cast<unsigned char>(text[i + 1]);
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF.
    if (lead == 0xe0 && second < 0xa0) return 0;
    if (lead == 0xed && second >= 0xa0) return 0;
    if (lead == 0xf0 && second < 0x90) return 0;
    if (lead == 0xf4 && second >= 0x90) return 0;
    // C1 control characters (U+0080..U+009F) move a terminal as C0 ones do.
    if (lead == 0xc2 && second < 0xa0) return 0;
    return length;
}

}  // namespace

std::string VisibleText(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7f) {
            shown += text[i++];
            continue;
        }
        std::size_t length = byte >= 0x80 ? SequenceLength(text, i) : 0;
        if (length == 0) {
            shown += Escaped(byte);
            ++i;
        } else {
            shown.append(text, i, length);
            i += length;
        }
    }
    return shown;
}
