// The file system on Windows: a drive path is resolved from the drive's root
// one name at a time, each opened relative to the folder before it without
// following a reparse point, and everything else is done relative to the
// folder found.
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/win32/NtOpenOptions.h"
#include "platform/win32/Win32Entries.h"
#include "platform/win32/Win32FileContentsAt.h"
#include "platform/win32/Win32FolderHandle.h"

namespace platform {
namespace {

class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<FolderHandle> OpenFolder(const std::string& path, std::string* why) override {
        auto parts = SplitDrivePath(path);
        if (!parts) {
            SetWhy(why, "Path not found");
            return nullptr;
        }
        // The drive's root is the table's to choose; below it no name may
        // be a reparse point.
        OwnedHandle folder;
        DWORD error = OpenFolderByPath(Drives().Root(parts->letter), false, folder);
        for (const auto& name : parts->names) {
            if (error != 0) break;
            OwnedHandle next;
            error = OpenRelative(folder.Get(), name, kFolderAccess, FILE_OPEN, FILE_DIRECTORY_FILE,
                                 next);
            if (error == 0) {
                auto facts = EntryOfHandle(next.Get(), name);
                if (!facts || facts->kind != EntryKind::Folder) error = ERROR_DIRECTORY;
            }
            folder = std::move(next);
        }
        if (error != 0) {
            // A file or a reparse point on the way, as a link on POSIX.
            SetWhy(why, error == ERROR_DIRECTORY ? "Path not found" : Win32ErrorText(error));
            return nullptr;
        }
        return Win32FolderHandle::Adopt(std::move(folder), why);
    }

    bool CreateFolder(const std::string& path) override {
        auto place = OpenParent(path);
        if (!place) return false;
        OwnedHandle made;
        const DWORD error = OpenRelative(Win32HandleOf(*place->folder), place->name,
                                         FILE_READ_ATTRIBUTES, FILE_CREATE, FILE_DIRECTORY_FILE,
                                         made);
        if (error == 0) return true;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        auto entry = place->folder->Look(place->name);
        return entry && entry->kind == EntryKind::Folder;
    }

    std::optional<std::string> ReadWholeFile(const std::string& path,
                                             std::size_t maxBytes) override {
        auto place = OpenParent(path);
        if (!place) return std::nullopt;
        return ReadWholeFileAt(Win32HandleOf(*place->folder), place->name, maxBytes);
    }

    bool ReplaceFile(const std::string& path, const std::string& contents) override {
        auto place = OpenParent(path);
        return place && ReplaceFileAt(Win32HandleOf(*place->folder), place->name, contents);
    }
};

}  // namespace

std::shared_ptr<FileSystem> MakeSystemFileSystem() { return std::make_shared<Win32FileSystem>(); }

}  // namespace platform
