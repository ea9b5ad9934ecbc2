// The file operations the overwrite engine needs, behind one interface.
//
// Production uses PosixFileLayer (posix_file_layer.h). Tests wrap it to record
// every operation that reaches a file, to make a chosen one fail, or to swap
// a file under a name between a check and the step it guards, so every
// result code can be reached without a faulty disk or a real attacker.
//
// Every operation returns 0 or an errno value. A Handle is whatever the
// platform acts through: a descriptor on POSIX, a HANDLE on Windows. Files
// are only ever reached relative to an open folder handle, so a folder that
// is renamed or replaced by a link while a purge runs cannot redirect it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace torvix {

using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

enum class FileKind { kRegular, kFolder, kSymbolicLink, kOther };

struct FileFacts {
    FileKind kind = FileKind::kOther;
    uint64_t size = 0;
    uint64_t device = 0;
    uint64_t inode = 0;
    // Tells a bind mount from the file system it shows, which shares the
    // device; 0 where the platform cannot tell mounts apart.
    uint64_t mountId = 0;
    uint64_t links = 1;  // names the file has in the file system

    bool SameFileAs(const FileFacts& other) const {
        return device == other.device && inode == other.inode;
    }
    bool OnSameMountAs(const FileFacts& other) const {
        if (device != other.device) return false;
        return mountId == 0 || other.mountId == 0 || mountId == other.mountId;
    }
};

class FileLayer {
  public:
    virtual ~FileLayer() = default;

    // True when name is one entry of a folder: not empty, not "." or "..",
    // and free of the platform's separators.
    virtual bool IsEntryName(const std::string& name) const = 0;
    // Opens the folder holding the last component of path and gives that
    // component in *name (possibly not an entry name: the caller checks).
    // No component is reached through a symbolic link (on Windows: a
    // reparse point); mount points on the way are crossed.
    virtual int OpenParentFolder(const std::string& path, Handle* folder, std::string* name) = 0;
    // Facts about a name in the folder; a symbolic link is reported as such
    // and a mount point as what is mounted there.
    virtual int StatAt(Handle folder, const std::string& name, FileFacts* facts) = 0;
    // Opens a name for writing without following a symbolic link and without
    // ever blocking (a FIFO without a reader fails instead of waiting).
    virtual int OpenForOverwrite(Handle folder, const std::string& name, Handle* file) = 0;
    // Facts about an open file or folder.
    virtual int Stat(Handle handle, FileFacts* facts) = 0;
    // One write at offset; *written may be less than size.
    virtual int WriteAt(Handle file, const unsigned char* data, std::size_t size, uint64_t offset,
                        std::size_t* written) = 0;
    // Asks the device to start writing out these bytes now, without waiting
    // for it; only a hint, so nothing is returned.
    virtual void StartWriteBack(Handle file, uint64_t offset, uint64_t length) = 0;
    // Makes the file's data durable on the device.
    virtual int SyncData(Handle file) = 0;
    virtual int Truncate(Handle file, uint64_t length) = 0;
    // Renames within the folder; never replaces an existing name (EEXIST).
    virtual int RenameAt(Handle folder, const std::string& from, const std::string& to) = 0;
    virtual int UnlinkAt(Handle folder, const std::string& name) = 0;
    // Makes the folder's entries (renames, removals) durable.
    virtual int SyncFolder(Handle folder) = 0;
    virtual void Close(Handle handle) = 0;
};

}  // namespace torvix
