// The file operations of a wipe, behind one interface so that each platform
// has its own implementation and tests can put a file system of their own in.
//
// A wipe must act on exactly the file it looked at, even when someone else
// renames or links things in its folder while it runs. So the file is opened
// once, through a handle on its folder that was itself reached without
// following any symbolic link; every pass writes through that one open file,
// and the deletion goes through the folder handle after checking that the
// name still leads to the same file. A path is parsed only once, at the open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace veldran {

// An open file, together with the folder it was opened in; both are closed
// when it is destroyed.
class WipeFile {
  public:
    virtual ~WipeFile() = default;

    // The length in bytes now; -1 when it cannot be read.
    virtual int64_t Length() const = 0;

    // Writes at `offset`. Returns how many bytes were written: fewer than
    // size when writing failed part way.
    virtual std::size_t Write(int64_t offset, const uint8_t* data, std::size_t size) = 0;

    // Forces the written data to the disk; false when that failed.
    virtual bool Flush() = 0;

    // Deletes the file's name from its folder. False, deleting nothing, when
    // that name no longer leads to this very file (same device and file
    // number), for then it names a file that was never overwritten.
    virtual bool Remove() = 0;
};

enum class OpenError { kNone, kNotFound, kRefused };

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading and writing without
    // creating or truncating it. Neither the file nor any folder on the way
    // to it may be a symbolic link; a link, a folder, a device or a FIFO is
    // refused without blocking. Null on failure, with the reason in *error.
    virtual std::unique_ptr<WipeFile> Open(const std::string& path, OpenError* error) = 0;
};

FileSystem& NativeFileSystem();

}  // namespace veldran
