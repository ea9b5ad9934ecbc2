#include "platform/win32/Win32FolderHandle.h"
#include "platform/win32/NtOpenOptions.h"

#include <vector>

#include "platform/win32/Win32Entries.h"

namespace platform {
namespace {

// What the listing itself says of an entry, for one that cannot be opened
// to ask (a file the system holds open without sharing, such as its swap
// file).
FolderEntry EntryOfListing(const FILE_ID_BOTH_DIR_INFO& info, const std::string& name,
                           std::uint64_t device) {
    FolderEntry entry;
    entry.name = name;
    if (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        entry.kind = EntryKind::SymbolicLink;
    } else if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        entry.kind = EntryKind::Folder;
    } else {
        entry.kind = EntryKind::File;
    }
    entry.identity.device = device;
    entry.identity.inode = static_cast<std::uint64_t>(info.FileId.QuadPart);
    entry.size = info.EndOfFile.QuadPart > 0 ? std::uint64_t(info.EndOfFile.QuadPart) : 0;
    entry.readOnly = (info.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return entry;
}

}  // namespace

std::unique_ptr<Win32FolderHandle> Win32FolderHandle::Adopt(OwnedHandle handle,
                                                            std::string* why) {
    auto self = EntryOfHandle(handle.Get(), "");
    if (!self || self->kind != EntryKind::Folder) {
        SetWhy(why, self ? "Path not found" : Win32ErrorText(::GetLastError()));
        return nullptr;
    }
    std::unique_ptr<Win32FolderHandle> folder(new Win32FolderHandle(std::move(handle)));
    folder->identity_ = self->identity;
    return folder;
}

std::optional<std::vector<FolderEntry>> Win32FolderHandle::Read(std::string* why) {
    std::vector<FolderEntry> entries;
    // Room for a few hundred entries a call; each names its successor.
    std::vector<std::uint64_t> buffer(8192);
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    for (;;) {
        if (!::GetFileInformationByHandleEx(handle_.Get(), kind, buffer.data(),
                                            static_cast<DWORD>(buffer.size() * sizeof buffer[0]))) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_NO_MORE_FILES) break;
            SetWhy(why, Win32ErrorText(error));
            return std::nullopt;
        }
        kind = FileIdBothDirectoryInfo;
        const char* at = reinterpret_cast<const char*>(buffer.data());
        for (;;) {
            const auto& info = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            const std::string name =
                Narrowed(info.FileName, info.FileNameLength / sizeof(wchar_t));
            if (name != "." && name != "..") {
                // An entry that went away meanwhile is simply not there.
                if (auto entry = Look(name)) {
                    entries.push_back(std::move(*entry));
                } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
                    entries.push_back(EntryOfListing(info, name, identity_.device));
                }
            }
            if (info.NextEntryOffset == 0) break;
            at += info.NextEntryOffset;
        }
    }
    return entries;
}

std::optional<FolderEntry> Win32FolderHandle::Look(const std::string& name) {
    OwnedHandle entry;
    DWORD error = OpenRelative(handle_.Get(), name, FILE_READ_ATTRIBUTES, FILE_OPEN, 0, entry);
    if (error != 0) {
        ::SetLastError(error);
        return std::nullopt;
    }
    return EntryOfHandle(entry.Get(), name);
}

bool Win32FolderHandle::OpenIfStill(const std::string& name, const FileIdentity& expected,
                                    ACCESS_MASK access, ULONG options, OwnedHandle& opened,
                                    FolderEntry* seen) {
    if (OpenRelative(handle_.Get(), name, access | FILE_READ_ATTRIBUTES, FILE_OPEN, options,
                     opened) != 0) {
        return false;
    }
    auto now = EntryOfHandle(opened.Get(), name);
    if (!now || !now->identity.SameObjectAs(expected) || now->identity.device != identity_.device) {
        opened.Reset();
        return false;
    }
    if (seen != nullptr) *seen = *now;
    return true;
}

std::unique_ptr<FolderHandle> Win32FolderHandle::OpenSubfolder(const std::string& name,
                                                               const FileIdentity& expected,
                                                               std::string* why) {
    OwnedHandle opened;
    DWORD error = OpenRelative(handle_.Get(), name, kFolderAccess, FILE_OPEN, FILE_DIRECTORY_FILE,
                               opened);
    if (error != 0) {
        SetWhy(why, Win32ErrorText(error));
        return nullptr;
    }
    return KeptIfStill(Adopt(std::move(opened), why), expected, why);
}

bool Win32FolderHandle::SetReadOnly(const std::string& name, const FileIdentity& expected,
                                    bool readOnly) {
    OwnedHandle file;
    FolderEntry seen;
    if (!OpenIfStill(name, expected, FILE_WRITE_ATTRIBUTES, FILE_NON_DIRECTORY_FILE, file, &seen) ||
        seen.kind != EntryKind::File) {
        return false;
    }
    FILE_BASIC_INFO basic;
    if (!::GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic)) {
        return false;
    }
    DWORD attributes = basic.FileAttributes;
    attributes = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                          : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    // Zero times leave the file's times as they are.
    FILE_BASIC_INFO change{};
    change.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return ::SetFileInformationByHandle(file.Get(), FileBasicInfo, &change, sizeof change) != 0;
}

bool Win32FolderHandle::RemoveSubfolder(const std::string& name, const FileIdentity& expected) {
    OwnedHandle folder;
    FolderEntry seen;
    if (!OpenIfStill(name, expected, DELETE, FILE_DIRECTORY_FILE, folder, &seen) ||
        seen.kind != EntryKind::Folder) {
        return false;
    }
    // The folder itself was checked, through the handle that deletes it:
    // nothing swapped in under its name can be removed instead.
    if (DeleteByHandle(folder.Get()) != 0) return false;
    folder.Reset();
    return true;
}

}  // namespace platform
