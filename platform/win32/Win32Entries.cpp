#include "platform/win32/Win32Entries.h"

#include <cstring>

#include "platform/win32/NtOpenOptions.h"

namespace platform {

bool IsSingleWin32Name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string::npos && name.find('\0') == std::string::npos;
}

DWORD OpenRelative(HANDLE folder, const std::string& name, ACCESS_MASK access, ULONG disposition,
                   ULONG options, OwnedHandle& opened) {
    if (!IsSingleWin32Name(name)) return ERROR_INVALID_NAME;
    std::wstring wide = Widened(name);
    UNICODE_STRING unicode;
    unicode.Buffer = wide.data();
    unicode.Length = static_cast<USHORT>(wide.size() * sizeof(wchar_t));
    unicode.MaximumLength = unicode.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicode, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    NTSTATUS status = ::NtCreateFile(
        &handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition,
        options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT,
        nullptr, 0);
    if (status < 0) return ::RtlNtStatusToDosError(status);
    opened.Reset(handle);
    return 0;
}

std::optional<FolderEntry> EntryOfHandle(HANDLE handle, const std::string& name) {
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard)) {
        return std::nullopt;
    }
    FolderEntry entry;
    entry.name = name;
    FILE_ID_INFO id;
    if (::GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id)) {
        // NTFS and FAT ids fit the low half; ReFS uses all 128 bits.
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        std::memcpy(&low, id.FileId.Identifier, sizeof low);
        std::memcpy(&high, id.FileId.Identifier + sizeof low, sizeof high);
        entry.identity.device = id.VolumeSerialNumber;
        entry.identity.inode = low ^ high;
    } else {
        BY_HANDLE_FILE_INFORMATION info;
        if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
        entry.identity.device = info.dwVolumeSerialNumber;
        entry.identity.inode = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    const DWORD attributes = basic.FileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        entry.kind = EntryKind::SymbolicLink;
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        entry.kind = EntryKind::Folder;
    } else if ((attributes & FILE_ATTRIBUTE_DEVICE) || ::GetFileType(handle) != FILE_TYPE_DISK) {
        entry.kind = EntryKind::Other;
    } else {
        entry.kind = EntryKind::File;
    }
    entry.size = standard.EndOfFile.QuadPart > 0 ? std::uint64_t(standard.EndOfFile.QuadPart) : 0;
    entry.links = standard.NumberOfLinks;
    entry.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    return entry;
}

DWORD OpenFolderByPath(const std::string& nativePath, bool literal, OwnedHandle& opened) {
    std::wstring wide = Widened(nativePath);
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (literal ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE handle = ::CreateFileW(wide.c_str(), kFolderAccess,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return ::GetLastError();
    opened.Reset(handle);
    return 0;
}

DWORD DeleteByHandle(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                     sizeof disposition)) {
        return 0;
    }
    return ::GetLastError();
}

}  // namespace platform
