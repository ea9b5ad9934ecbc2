#include "torvix/win32_wide.h"

#include <windows.h>

namespace torvix {

bool Utf8ToWide(const std::string& text, std::wstring* wide) {
    wide->clear();
    if (text.empty()) return true;
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return false;
    wide->resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), wide->data(), length) == length;
}

}  // namespace torvix
