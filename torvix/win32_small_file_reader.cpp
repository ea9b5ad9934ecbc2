#include <windows.h>

#include "torvix/small_file_reader.h"
#include "torvix/win32_wide.h"

namespace torvix {
namespace {

class ScopedFile {
  public:
    explicit ScopedFile(HANDLE handle) : handle_(handle) {}
    ~ScopedFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// A plain file on a disk: no folder, no reparse point, no device or pipe.
bool IsRegularFile(HANDLE file) {
    FILE_BASIC_INFO basic;
    if (GetFileType(file) != FILE_TYPE_DISK ||
        !GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return false;
    return (basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                    FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

SmallFileRead ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string* contents) {
    std::wstring wide;
    if (!Utf8ToWide(path, &wide) || wide.empty()) return SmallFileRead::kCannotOpen;
    // Opened as itself: a link planted at the name is refused, not followed.
    ScopedFile file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE || !IsRegularFile(file.get()))
        return SmallFileRead::kCannotOpen;
    contents->clear();
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return SmallFileRead::kReadError;
        if (got == 0) return SmallFileRead::kRead;
        contents->append(chunk, got);
        if (contents->size() > maxBytes) return SmallFileRead::kTooLarge;
    }
}

}  // namespace torvix
