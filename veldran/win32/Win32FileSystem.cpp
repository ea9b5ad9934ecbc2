#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "veldran/FileSystem.h"

namespace veldran {
namespace {

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle, closed when it goes.
class Handle {
  public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    return wide;
}

OpenError ErrorFromStatus(NTSTATUS status) {
    DWORD error = RtlNtStatusToDosError(status);
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? OpenError::kNotFound
                                                                          : OpenError::kRefused;
}

// Opens `name` relative to `folder` as itself: a symbolic link, junction or
// mount point is opened, never followed, and the caller refuses it.
NTSTATUS OpenRelative(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options,
                      Handle* opened) {
    UNICODE_STRING ntName;
    ntName.Buffer = const_cast<wchar_t*>(name.c_str());
    ntName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    ntName.MaximumLength = ntName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &ntName, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    NTSTATUS status = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, 0,
                                   kShareAll, FILE_OPEN,
                                   options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT,
                                   nullptr, 0);
    if (NT_SUCCESS(status)) *opened = Handle(handle);
    return status;
}

DWORD Attributes(HANDLE handle) {
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        return INVALID_FILE_ATTRIBUTES;
    return basic.FileAttributes;
}

bool IsPlainFolder(HANDLE handle) {
    DWORD attributes = Attributes(handle);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The volume's serial number and the file's id: what makes a file itself.
bool Identity(HANDLE handle, FILE_ID_INFO* id) {
    return GetFileInformationByHandleEx(handle, FileIdInfo, id, sizeof *id) != 0;
}

bool SameFile(const FILE_ID_INFO& a, const FILE_ID_INFO& b) {
    return a.VolumeSerialNumber == b.VolumeSerialNumber &&
           std::memcmp(&a.FileId, &b.FileId, sizeof a.FileId) == 0;
}

// Splits a path into its root ("C:\", "\\server\share\", "\" or the current
// folder ".") and the folders below it, and the file's name. ".." drops the
// folder before it, as Windows reads a path. False for a drive-relative
// path ("C:swap"), whose folder depends on state the user cannot see.
bool SplitPath(std::wstring path, std::wstring* root, std::vector<std::wstring>* folders,
               std::wstring* name) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring rest;
    if (path.size() >= 2 && path[1] == L':') {
        if (path.size() == 2 || path[2] != L'\\') return false;
        *root = path.substr(0, 3);
        rest = path.substr(3);
    } else if (path.rfind(L"\\\\", 0) == 0) {
        std::size_t server = path.find(L'\\', 2);
        std::size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        if (share == std::wstring::npos) return false;
        *root = path.substr(0, share + 1);
        rest = path.substr(share + 1);
    } else if (!path.empty() && path[0] == L'\\') {
        *root = L"\\";
        rest = path.substr(1);
    } else {
        *root = L".";
        rest = path;
    }
    std::size_t last = rest.rfind(L'\\');
    *name = last == std::wstring::npos ? rest : rest.substr(last + 1);
    if (last == std::wstring::npos) return true;
    std::wstring_view between(rest.data(), last);
    for (std::size_t start = 0; start <= between.size();) {
        std::size_t slash = std::min(between.find(L'\\', start), between.size());
        std::wstring component(between.substr(start, slash - start));
        start = slash + 1;
        if (component.empty() || component == L".") continue;
        if (component != L"..")
            folders->push_back(component);
        else if (!folders->empty())
            folders->pop_back();
    }
    return true;
}

// Opens the folder one component at a time, refusing every reparse point on
// the way: a junction or link swapped in for a folder must not lead the
// wipe elsewhere.
Handle OpenFolder(const std::wstring& root, const std::vector<std::wstring>& folders,
                  OpenError* error) {
    Handle folder(CreateFileW(root.c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder.valid()) {
        DWORD code = GetLastError();
        *error = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                         code == ERROR_INVALID_DRIVE
                     ? OpenError::kNotFound
                     : OpenError::kRefused;
        return Handle();
    }
    for (const std::wstring& component : folders) {
        Handle next;
        NTSTATUS status =
            OpenRelative(folder.get(), component, kFolderAccess, FILE_DIRECTORY_FILE, &next);
        if (!NT_SUCCESS(status)) {
            *error = ErrorFromStatus(status);
            return Handle();
        }
        if (!IsPlainFolder(next.get())) {
            *error = OpenError::kRefused;
            return Handle();
        }
        folder = std::move(next);
    }
    return folder;
}

class Win32File final : public WipeFile {
  public:
    Win32File(Handle folder, Handle file, std::wstring name, const FILE_ID_INFO& identity)
        : folder_(std::move(folder)),
          file_(std::move(file)),
          name_(std::move(name)),
          identity_(identity) {}

    int64_t Length() const override {
        LARGE_INTEGER size;
        return GetFileSizeEx(file_.get(), &size) ? size.QuadPart : -1;
    }

    std::size_t Write(int64_t offset, const uint8_t* data, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            OVERLAPPED at{};
            uint64_t position = static_cast<uint64_t>(offset) + done;
            at.Offset = static_cast<DWORD>(position);
            at.OffsetHigh = static_cast<DWORD>(position >> 32);
            DWORD written = 0;
            if (!WriteFile(file_.get(), data + done, static_cast<DWORD>(size - done), &written,
                           &at) ||
                written == 0)
                break;
            done += written;
        }
        return done;
    }

    bool Flush() override { return FlushFileBuffers(file_.get()) != 0; }

    // The name is opened as itself and compared with the file wiped; the
    // deletion goes through that same handle, so nothing can come between
    // the check and the deletion.
    bool Remove() override {
        Handle named;
        FILE_ID_INFO id;
        if (!NT_SUCCESS(OpenRelative(folder_.get(), name_, DELETE | FILE_READ_ATTRIBUTES,
                                     FILE_NON_DIRECTORY_FILE, &named)) ||
            !Identity(named.get(), &id) || !SameFile(id, identity_))
            return false;
        FILE_DISPOSITION_INFO disposition{TRUE};
        return SetFileInformationByHandle(named.get(), FileDispositionInfo, &disposition,
                                          sizeof disposition) != 0;
    }

  private:
    Handle folder_;
    Handle file_;
    std::wstring name_;
    FILE_ID_INFO identity_;
};

class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<WipeFile> Open(const std::string& path, OpenError* error) override {
        *error = OpenError::kRefused;
        std::wstring root, name;
        std::vector<std::wstring> folders;
        std::wstring wide = Wide(path);
        if (wide.empty() || !SplitPath(wide, &root, &folders, &name)) return nullptr;
        if (name.empty() || name == L"." || name == L".." || name.find(L':') != std::wstring::npos)
            return nullptr;
        Handle folder = OpenFolder(root, folders, error);
        if (!folder.valid()) return nullptr;

        Handle file;
        NTSTATUS status =
            OpenRelative(folder.get(), name, GENERIC_READ | GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                         FILE_NON_DIRECTORY_FILE, &file);
        if (!NT_SUCCESS(status)) {
            *error = ErrorFromStatus(status);
            return nullptr;
        }
        // Only a plain file on a disk. Read-only is refused even where the
        // file system would let a privileged user write (Wine run as root).
        *error = OpenError::kRefused;
        DWORD attributes = Attributes(file.get());
        FILE_ID_INFO identity;
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY |
                           FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) ||
            GetFileType(file.get()) != FILE_TYPE_DISK || !Identity(file.get(), &identity))
            return nullptr;
        *error = OpenError::kNone;
        return std::make_unique<Win32File>(std::move(folder), std::move(file), name, identity);
    }
};

}  // namespace

FileSystem& NativeFileSystem() {
    static Win32FileSystem files;
    return files;
}

}  // namespace veldran
