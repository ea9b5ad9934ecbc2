#include "platform/win32/WideText.h"

namespace platform {

std::wstring Widened(const std::string& utf8) {
    if (utf8.empty()) return {};
    int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                       nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              length);
    }
    return wide;
}

std::string Narrowed(const wchar_t* utf16, std::size_t count) {
    if (count == 0) return {};
    int length = ::WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(count), nullptr, 0,
                                       nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, utf16, static_cast<int>(count), narrow.data(), length,
                              nullptr, nullptr);
    }
    return narrow;
}

std::string Narrowed(const std::wstring& utf16) { return Narrowed(utf16.data(), utf16.size()); }

std::string Win32ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 ? Narrowed(text, length) : "Error " + std::to_string(error);
    if (text != nullptr) ::LocalFree(text);
    // The system ends its descriptions with a full stop and a line break.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

}  // namespace platform
