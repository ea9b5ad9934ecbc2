// The production file layer: POSIX calls on the real file system.
#pragma once

#include "torvix/file_layer.h"

namespace torvix {

class PosixFileLayer : public FileLayer {
  public:
    int OpenFolder(const std::string& path, int* folder) override;
    int StatAt(int folder, const std::string& name, FileFacts* facts) override;
    int OpenForOverwrite(int folder, const std::string& name, int* file) override;
    int Stat(int file, FileFacts* facts) override;
    int WriteAt(int file, const unsigned char* data, std::size_t size, uint64_t offset,
                std::size_t* written) override;
    // fdatasync, falling back to fsync where the file system lacks it.
    int SyncData(int file) override;
    int Truncate(int file, uint64_t length) override;
    int RenameAt(int folder, const std::string& from, const std::string& to) override;
    int UnlinkAt(int folder, const std::string& name) override;
    // A file system that cannot sync folders (EINVAL) counts as synced.
    int SyncFolder(int folder) override;
    void Close(int handle) override;
};

}  // namespace torvix
