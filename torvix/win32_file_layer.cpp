#include "torvix/win32_file_layer.h"

#include <windows.h>
#include <winternl.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "torvix/win32_folder_path.h"
#include "torvix/win32_nt_open.h"
#include "torvix/win32_wide.h"

namespace torvix {
namespace {

// A negative value is one of the system's pseudo-handles (the process, the
// thread), never a folder or file the caller opened: it becomes null, which
// every call refuses.
HANDLE Win(Handle handle) { return handle < 0 ? nullptr : reinterpret_cast<HANDLE>(handle); }
Handle Ours(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

int LastErrno() { return ErrnoFromWin32Error(GetLastError()); }

// A handle closed whichever way a call ends.
class ScopedHandle {
  public:
    ScopedHandle() = default;
    ~ScopedHandle() {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE handle = nullptr;
};

// The longest name a component may have, in UTF-16 units.
constexpr std::size_t kMaxComponent = 255;

int WideEntry(const std::string& name, std::wstring* wide) {
    if (!Utf8ToWide(name, wide)) return EINVAL;
    return wide->size() > kMaxComponent ? ENAMETOOLONG : 0;
}

int OpenEntry(Handle folder, const std::string& name, ACCESS_MASK access, ULONG options,
              HANDLE* opened) {
    std::wstring wide;
    if (int error = WideEntry(name, &wide)) return error;
    return OpenRelative(Win(folder), wide, access, options, opened);
}

}  // namespace

bool Win32FileLayer::IsEntryName(const std::string& name) const {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

int Win32FileLayer::OpenParentFolder(const std::string& path, Handle* folder, std::string* name) {
    std::size_t slash = path.find_last_of("/\\");
    std::string folderPath = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    *name = slash == std::string::npos ? path : path.substr(slash + 1);
    HANDLE handle = nullptr;
    if (int error = OpenFolderWithoutReparsePoints(folderPath, &handle)) return error;
    *folder = Ours(handle);
    return 0;
}

int Win32FileLayer::StatAt(Handle folder, const std::string& name, FileFacts* facts) {
    ScopedHandle entry;
    if (int error = OpenEntry(folder, name, FILE_READ_ATTRIBUTES, 0, &entry.handle)) return error;
    return Stat(Ours(entry.handle), facts);
}

int Win32FileLayer::OpenForOverwrite(Handle folder, const std::string& name, Handle* file) {
    HANDLE handle = nullptr;
    if (int error = OpenEntry(folder, name, GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                              FILE_NON_DIRECTORY_FILE, &handle))
        return error;
    // Windows refuses to write a read-only file; a file system whose own
    // permissions let a privileged user write it anyway (Wine running as
    // root) must not overwrite what the user marked read-only.
    DWORD attributes = 0;
    if (!AttributesOf(handle, &attributes) || (attributes & FILE_ATTRIBUTE_READONLY)) {
        CloseHandle(handle);
        return EACCES;
    }
    *file = Ours(handle);
    return 0;
}

int Win32FileLayer::Stat(Handle handle, FileFacts* facts) {
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    FILE_ID_INFO id;
    if (!GetFileInformationByHandleEx(Win(handle), FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(Win(handle), FileStandardInfo, &standard, sizeof standard) ||
        !GetFileInformationByHandleEx(Win(handle), FileIdInfo, &id, sizeof id))
        return LastErrno();
    DWORD attributes = basic.FileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        facts->kind = FileKind::kSymbolicLink;
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        facts->kind = FileKind::kFolder;
    else if (attributes & FILE_ATTRIBUTE_DEVICE || GetFileType(Win(handle)) != FILE_TYPE_DISK)
        facts->kind = FileKind::kOther;
    else
        facts->kind = FileKind::kRegular;
    facts->size = standard.EndOfFile.QuadPart > 0 ? static_cast<uint64_t>(standard.EndOfFile.QuadPart)
                                                  : 0;
    // NTFS and FAT ids fit the low half; ReFS uses all 128 bits, folded here.
    uint64_t low = 0, high = 0;
    std::memcpy(&low, id.FileId.Identifier, sizeof low);
    std::memcpy(&high, id.FileId.Identifier + sizeof low, sizeof high);
    facts->device = id.VolumeSerialNumber;
    facts->inode = low ^ high;
    facts->mountId = 0;
    facts->links = standard.NumberOfLinks;
    return 0;
}

int Win32FileLayer::WriteAt(Handle file, const unsigned char* data, std::size_t size,
                            uint64_t offset, std::size_t* written) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD piece = size > (DWORD{1} << 30) ? DWORD{1} << 30 : static_cast<DWORD>(size);
    DWORD done = 0;
    if (!WriteFile(Win(file), data, piece, &done, &at)) return LastErrno();
    *written = done;
    return 0;
}

void Win32FileLayer::StartWriteBack(Handle, uint64_t, uint64_t) {}

int Win32FileLayer::SyncData(Handle file) {
    return FlushFileBuffers(Win(file)) ? 0 : LastErrno();
}

int Win32FileLayer::Truncate(Handle file, uint64_t length) {
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
    return SetFileInformationByHandle(Win(file), FileEndOfFileInfo, &end, sizeof end) ? 0
                                                                                     : LastErrno();
}

int Win32FileLayer::RenameAt(Handle folder, const std::string& from, const std::string& to) {
    std::wstring target;
    if (int error = WideEntry(to, &target)) return error;
    ScopedHandle entry;
    if (int error = OpenEntry(folder, from, DELETE, 0, &entry.handle)) return error;
    // The new name is relative to the same folder handle, so the file stays
    // in the folder that was checked, whatever its path has become.
    std::vector<unsigned char> block(sizeof(FILE_RENAME_INFORMATION) +
                                     target.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFORMATION*>(block.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = Win(folder);
    info->FileNameLength = static_cast<ULONG>(target.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, target.data(), info->FileNameLength);
    IO_STATUS_BLOCK io{};
    NTSTATUS status = NtSetInformationFile(entry.handle, &io, info, static_cast<ULONG>(block.size()),
                                           FileRenameInformation);
    return NT_SUCCESS(status) ? 0 : ErrnoFromNtStatus(status);
}

int Win32FileLayer::UnlinkAt(Handle folder, const std::string& name) {
    ScopedHandle entry;
    if (int error = OpenEntry(folder, name, DELETE, FILE_NON_DIRECTORY_FILE, &entry.handle))
        return error;
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(entry.handle, FileDispositionInfo, &disposition,
                                    sizeof disposition))
        return LastErrno();
    return 0;
}

int Win32FileLayer::SyncFolder(Handle folder) {
    if (FlushFileBuffers(Win(folder))) return 0;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION ||
        error == ERROR_NOT_SUPPORTED)
        return 0;
    return ErrnoFromWin32Error(error);
}

void Win32FileLayer::Close(Handle handle) {
    if (handle != kNoHandle && handle != 0) CloseHandle(Win(handle));
}

}  // namespace torvix
