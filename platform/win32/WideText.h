// Text between the program (UTF-8) and the Win32 API (UTF-16), and the
// system's own words for an error code.
#pragma once

#include "platform/win32/SystemHeaders.h"

#include <string>

namespace platform {

std::wstring Widened(const std::string& utf8);
std::string Narrowed(const std::wstring& utf16);
std::string Narrowed(const wchar_t* utf16, std::size_t length);

// The system's description of a Win32 error code, as the user reads it.
std::string Win32ErrorText(DWORD error);

// A handle that closes itself.
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr) {
        if (Valid()) ::CloseHandle(handle_);
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace platform
