// Native files on Windows: the folder is opened by its path, the file
// relative to it without following a reparse point. A path is native when
// the drive table does not translate it: a letter that is not mapped, a
// letter mapped to its own drive (as on a machine with no table set), or a
// network path.
#include "platform/DrivePaths.h"
#include "platform/win32/Win32Entries.h"
#include "platform/win32/Win32FileContentsAt.h"
#include "support/NativeFiles.h"

#ifndef FILE_OPEN
#define FILE_OPEN 0x00000001
#endif

namespace native_files {
namespace {

using platform::OwnedHandle;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

struct Place {
    std::string folder;
    std::string name;
};

std::optional<Place> Split(const std::string& path) {
    const auto at = path.find_last_of("\\/");
    if (!IsNativePath(path) || at == std::string::npos || at == path.size() - 1) {
        return std::nullopt;
    }
    // "C:\x" keeps the separator of the root: "C:" alone would be the
    // drive's current folder.
    return Place{path.substr(0, at == 2 ? 3 : at), path.substr(at + 1)};
}

std::optional<platform::FolderEntry> LookNative(const std::string& path) {
    auto place = Split(path);
    if (!place) return std::nullopt;
    OwnedHandle folder;
    if (platform::OpenFolderByPath(place->folder, false, folder) != 0) return std::nullopt;
    OwnedHandle entry;
    if (platform::OpenRelative(folder.Get(), place->name, FILE_READ_ATTRIBUTES, FILE_OPEN, 0,
                               entry) != 0) {
        return std::nullopt;
    }
    return platform::EntryOfHandle(entry.Get(), place->name);
}

}  // namespace

bool IsNativePath(const std::string& path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;
    if (path.size() < 3 || path[1] != ':' || !IsSeparator(path[2])) return false;
    const char letter = platform::DriveLetterOf(path);
    if (letter == 0) return false;
    const std::string& root = platform::Drives().Root(letter);
    return root.empty() || (root.size() == 3 && platform::DriveLetterOf(root) == letter &&
                            root[1] == ':' && IsSeparator(root[2]));
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    auto place = Split(path);
    if (!place) return std::nullopt;
    OwnedHandle folder;
    if (platform::OpenFolderByPath(place->folder, false, folder) != 0) return std::nullopt;
    return platform::ReadWholeFileAt(folder.Get(), place->name, maxBytes);
}

bool ReplaceFile(const std::string& path, const std::string& contents) {
    auto place = Split(path);
    if (!place) return false;
    OwnedHandle folder;
    if (platform::OpenFolderByPath(place->folder, false, folder) != 0) return false;
    return platform::ReplaceFileAt(folder.Get(), place->name, contents);
}

bool ReplacePrivateFile(const std::string& path, const std::string& contents) {
    // The per-user folder's own permissions keep it the user's.
    return ReplaceFile(path, contents);
}

bool IsPrivateFile(const std::string& path, std::string& why) {
    auto place = Split(path);
    auto folder = place ? LookNative(place->folder) : std::nullopt;
    auto entry = LookNative(path);
    if (!entry || entry->kind != platform::EntryKind::File) {
        why = "it is not a regular file";
        return false;
    }
    if (!folder || folder->kind != platform::EntryKind::Folder) {
        why = "its folder is a link";
        return false;
    }
    return true;
}

bool FileExists(const std::string& path) {
    auto entry = LookNative(path);
    return entry && entry->kind == platform::EntryKind::File;
}

bool CreateFolder(const std::string& path) {
    if (!IsNativePath(path)) return false;
    if (::CreateDirectoryW(platform::Widened(path).c_str(), nullptr)) return true;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    return FolderIdentity(path).has_value();
}

std::optional<platform::FileIdentity> FolderIdentity(const std::string& path) {
    if (!IsNativePath(path)) return std::nullopt;
    OwnedHandle folder;
    if (platform::OpenFolderByPath(path, false, folder) != 0) return std::nullopt;
    auto entry = platform::EntryOfHandle(folder.Get(), "");
    if (!entry || entry->kind != platform::EntryKind::Folder) return std::nullopt;
    return entry->identity;
}

}  // namespace native_files
