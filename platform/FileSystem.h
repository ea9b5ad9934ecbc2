// Files and folders, by drive-letter path.
//
// Everything the program does to files and folders, short of overwriting
// them, goes through this interface, so that a Windows implementation can
// stand beside the POSIX one and tests can inject answers. A drive path is
// resolved from the drive's root one name at a time, and no operation
// follows a symbolic link in any part of a path: a link is reported as what
// it is, never as its target. Runs open a folder once (OpenFolder) and act
// through the handle (FolderHandle.h) from there on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"

namespace platform {

struct FileAttributes {
    bool readOnly = false;  // POSIX: the owner's write bit is clear
    bool hidden = false;    // POSIX: the name starts with a dot
    bool folder = false;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens the folder a drive path names. Null when it cannot be opened,
    // with the reason: no mapped drive, a symbolic link or something other
    // than a folder on the way, or the system's refusal.
    virtual std::unique_ptr<FolderHandle> OpenFolder(const std::string& path,
                                                     std::string* why = nullptr) = 0;

    // The folder's entries in the file system's own order, without "." and
    // "..". Null when the folder cannot be read.
    std::optional<std::vector<FolderEntry>> ReadFolder(const std::string& path);

    // The entry the path names, without following a link; null when none.
    std::optional<FolderEntry> Look(const std::string& path);
    std::optional<EntryKind> KindOf(const std::string& path);
    bool FileExists(const std::string& path) { return KindOf(path) == EntryKind::File; }
    bool FolderExists(const std::string& path) { return KindOf(path) == EntryKind::Folder; }

    // Length in bytes of a regular file; null when it is not one.
    std::optional<std::uint64_t> FileLength(const std::string& path);

    std::optional<FileAttributes> Attributes(const std::string& path);
    // Sets or clears read-only: clearing it gives the owner write permission.
    bool SetReadOnly(const std::string& path, bool readOnly);

    // True when the folder now exists (also when it existed before).
    virtual bool CreateFolder(const std::string& path) = 0;
    // Removes an empty folder.
    bool RemoveFolder(const std::string& path);

    // The whole contents of a regular file, or null when it cannot be read
    // or is longer than maxBytes. A FIFO or device in its place is refused
    // at once, never waited on.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path,
                                                     std::size_t maxBytes) = 0;
    // Replaces the file's contents all at once: the new contents are written
    // and flushed beside it and then take its place, so a failure (a full
    // disk, no permission) leaves the old file as it was. A read-only file
    // is not replaced. True when the new contents are in place.
    virtual bool ReplaceFile(const std::string& path, const std::string& contents) = 0;

    // The open folder holding the path's last name, and that name; null for
    // a drive's root or a path that cannot be resolved.
    struct Parent {
        std::unique_ptr<FolderHandle> folder;
        std::string name;
    };
    std::optional<Parent> OpenParent(const std::string& path);
};

// The file system in force (POSIX unless a test set another).
FileSystem& Files();
// Tests install fakes; null restores the real one.
void SetFileSystemForTesting(std::shared_ptr<FileSystem> fs);

// This system's own implementation (POSIX or Win32).
std::shared_ptr<FileSystem> MakeSystemFileSystem();
std::shared_ptr<FileSystem> MakePosixFileSystem();

}  // namespace platform
