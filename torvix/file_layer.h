// The file operations the overwrite engine needs, behind one interface.
//
// Production uses PosixFileLayer (posix_file_layer.h). Tests wrap it to record
// every operation that reaches a file, or to make a chosen one fail, so every
// result code can be reached without a faulty disk.
//
// Every operation returns 0 or an errno value. Handles are file descriptors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace torvix {

enum class FileKind { kRegular, kSymbolicLink, kOther };

struct FileFacts {
    FileKind kind = FileKind::kOther;
    uint64_t size = 0;
    uint64_t device = 0;
    uint64_t inode = 0;

    bool SameFileAs(const FileFacts& other) const {
        return device == other.device && inode == other.inode;
    }
};

class FileLayer {
  public:
    virtual ~FileLayer() = default;

    // Opens a folder (following symbolic links in its path) for the *At calls.
    virtual int OpenFolder(const std::string& path, int* folder) = 0;
    // Facts about a name in the folder; a symbolic link is reported as such.
    virtual int StatAt(int folder, const std::string& name, FileFacts* facts) = 0;
    // Opens a name for writing without following a symbolic link and without
    // ever blocking (a FIFO without a reader fails instead of waiting).
    virtual int OpenForOverwrite(int folder, const std::string& name, int* file) = 0;
    virtual int Stat(int file, FileFacts* facts) = 0;
    // One write at offset; *written may be less than size.
    virtual int WriteAt(int file, const unsigned char* data, std::size_t size, uint64_t offset,
                        std::size_t* written) = 0;
    // Makes the file's data durable on the device.
    virtual int SyncData(int file) = 0;
    virtual int Truncate(int file, uint64_t length) = 0;
    // Renames within the folder; never replaces an existing name (EEXIST).
    virtual int RenameAt(int folder, const std::string& from, const std::string& to) = 0;
    virtual int UnlinkAt(int folder, const std::string& name) = 0;
    // Makes the folder's entries (renames, removals) durable.
    virtual int SyncFolder(int folder) = 0;
    virtual void Close(int handle) = 0;
};

}  // namespace torvix
