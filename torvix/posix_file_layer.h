// The production file layer: POSIX calls on the real file system, each
// relative to an open folder descriptor.
#pragma once

#include "torvix/file_layer.h"

namespace torvix {

class PosixFileLayer : public FileLayer {
  public:
    bool IsEntryName(const std::string& name) const override;
    // The folder is opened with no symbolic link in its path (posix_folder_path.h).
    int OpenParentFolder(const std::string& path, Handle* folder, std::string* name) override;
    // Facts come from statx, which also tells mounts apart by their id.
    int StatAt(Handle folder, const std::string& name, FileFacts* facts) override;
    int OpenForOverwrite(Handle folder, const std::string& name, Handle* file) override;
    int Stat(Handle handle, FileFacts* facts) override;
    int WriteAt(Handle file, const unsigned char* data, std::size_t size, uint64_t offset,
                std::size_t* written) override;
    // sync_file_range, where the file system has it.
    void StartWriteBack(Handle file, uint64_t offset, uint64_t length) override;
    // fdatasync, falling back to fsync where the file system lacks it.
    int SyncData(Handle file) override;
    int Truncate(Handle file, uint64_t length) override;
    int RenameAt(Handle folder, const std::string& from, const std::string& to) override;
    int UnlinkAt(Handle folder, const std::string& name) override;
    // A file system that cannot sync folders (EINVAL) counts as synced.
    int SyncFolder(Handle folder) override;
    void Close(Handle handle) override;
};

}  // namespace torvix
