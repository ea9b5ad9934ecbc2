// The file operations of a wipe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace veldran {

// An open file, positioned at its first byte; closed when destroyed.
class WipeFile {
  public:
    virtual ~WipeFile() = default;

    // The length in bytes when the file was opened.
    virtual int64_t Length() const = 0;

    // Writes at the current position and advances it. Returns how many bytes
    // were written: fewer than size when writing failed part way.
    virtual std::size_t Write(const uint8_t* data, std::size_t size) = 0;

    // Forces the written data to the disk; false when that failed.
    virtual bool Flush() = 0;
};

enum class OpenError { kNone, kNotFound, kRefused };

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading and writing without
    // creating or truncating it. A symbolic link is refused, not followed.
    // Null on failure, with the reason in *error.
    virtual std::unique_ptr<WipeFile> Open(const std::string& path, OpenError* error) = 0;

    virtual bool Remove(const std::string& path) = 0;
};

FileSystem& NativeFileSystem();

}  // namespace veldran
