// Files and folders, by drive-letter path.
//
// Everything the program does to files and folders, short of overwriting
// them, goes through this interface, so that a Windows implementation can
// stand beside the POSIX one and tests can inject answers. No operation
// follows a symbolic link: a link is reported as what it is, never as its
// target.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class EntryKind { File, Folder, SymbolicLink, Other /* FIFO, device, socket */ };

struct FolderEntry {
    std::string name;  // as the file system spells it
    EntryKind kind;
};

struct FileAttributes {
    bool readOnly = false;  // POSIX: the owner's write bit is clear
    bool hidden = false;    // POSIX: the name starts with a dot
    bool folder = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The folder's entries in the file system's own order, without "." and
    // "..". Null when the folder cannot be read.
    virtual std::optional<std::vector<FolderEntry>> ReadFolder(const std::string& path) = 0;

    // What the path names, without following a link; null when nothing.
    virtual std::optional<EntryKind> KindOf(const std::string& path) = 0;
    bool FileExists(const std::string& path) { return KindOf(path) == EntryKind::File; }
    bool FolderExists(const std::string& path) { return KindOf(path) == EntryKind::Folder; }

    // Length in bytes of a regular file; null when it is not one.
    virtual std::optional<std::uint64_t> FileLength(const std::string& path) = 0;

    virtual std::optional<FileAttributes> Attributes(const std::string& path) = 0;
    // Sets or clears read-only: clearing it gives the owner write permission.
    virtual bool SetReadOnly(const std::string& path, bool readOnly) = 0;

    // True when the folder now exists (also when it existed before).
    virtual bool CreateFolder(const std::string& path) = 0;
    // Removes an empty folder.
    virtual bool RemoveFolder(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;

    // The whole contents of a regular file, or null when it cannot be read
    // or is longer than maxBytes.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path,
                                                     std::size_t maxBytes) = 0;
    // Replaces the file's contents all at once: the new contents are written
    // and flushed beside it and then take its place, so a failure (a full
    // disk, no permission) leaves the old file as it was. A read-only file
    // is not replaced. True when the new contents are in place.
    virtual bool ReplaceFile(const std::string& path, const std::string& contents) = 0;

    // Identity of the file system holding the path, to keep a walk on the
    // file system it started on; null when the path cannot be examined.
    virtual std::optional<std::uint64_t> DeviceOf(const std::string& path) = 0;
};

// The file system in force (POSIX unless a test set another).
FileSystem& Files();
// Tests install fakes; null restores the real one.
void SetFileSystemForTesting(std::shared_ptr<FileSystem> fs);

std::shared_ptr<FileSystem> MakePosixFileSystem();

}  // namespace platform
