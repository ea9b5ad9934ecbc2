#include "ui/win32/TextBoxWindow.h"

#include <algorithm>

#include "platform/win32/WideText.h"

namespace ui {
namespace {

bool Continues(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// UTF-16 units of the UTF-8 bytes [from, to): a character of four bytes
// takes two units, any other one.
std::size_t UnitsOf(const std::string& text, std::size_t from, std::size_t to) {
    std::size_t units = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (Continues(text[i])) continue;
        units += (static_cast<unsigned char>(text[i]) >= 0xF0) ? 2 : 1;
    }
    return units;
}

// The byte offset reached after `units` UTF-16 units of `text`.
std::size_t BytesOf(const std::string& text, std::size_t units) {
    std::size_t i = 0;
    while (i < text.size() && units > 0) {
        const std::size_t step = (static_cast<unsigned char>(text[i]) >= 0xF0) ? 2 : 1;
        units = units > step ? units - step : 0;
        ++i;
        while (i < text.size() && Continues(text[i])) ++i;
    }
    return i;
}

}  // namespace

void ShowTextFrom(HWND edit, std::string& shown, const std::string& text, std::size_t from) {
    if (from == 0) {
        if (text == shown && !(text.empty() && ::GetWindowTextLengthW(edit) > 0)) return;
        ::SetWindowTextW(edit, platform::Widened(text).c_str());
        shown = text;
        return;
    }
    from = std::min({from, shown.size(), text.size()});
    // Never split a character, in what is shown or in what replaces it.
    while (from > 0 && ((from < shown.size() && Continues(shown[from])) ||
                        (from < text.size() && Continues(text[from])))) {
        --from;
    }
    const auto total = static_cast<WPARAM>(::GetWindowTextLengthW(edit));
    const auto removed = static_cast<WPARAM>(UnitsOf(shown, from, shown.size()));
    ::SendMessageW(edit, EM_SETSEL, total - std::min(removed, total), static_cast<LPARAM>(total));
    const std::wstring tail = platform::Widened(text.substr(from));
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
    shown.resize(from);
    shown.append(text, from);
}

std::pair<int, int> SelectionInBytes(HWND edit, const std::string& shown) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const std::size_t from = BytesOf(shown, std::min(start, end));
    const std::size_t to = BytesOf(shown, std::max(start, end));
    return {static_cast<int>(from), static_cast<int>(to - from)};
}

void PlaceSelection(HWND edit, const std::string& shown, int start, int length) {
    WPARAM first = 0;
    LPARAM last = 0;
    if (start >= static_cast<int>(shown.size())) {
        first = static_cast<WPARAM>(::GetWindowTextLengthW(edit));
        last = static_cast<LPARAM>(first);
    } else {
        const std::size_t from = static_cast<std::size_t>(std::max(start, 0));
        const std::size_t to = std::min(shown.size(), from + static_cast<std::size_t>(length));
        first = UnitsOf(shown, 0, from);
        last = static_cast<LPARAM>(first + UnitsOf(shown, from, to));
    }
    ::SendMessageW(edit, EM_SETSEL, first, last);
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace ui
