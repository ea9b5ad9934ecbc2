// The production file layer on Windows: native calls on the real file
// system, each relative to an open folder handle.
//
// Names are UTF-8 and become UTF-16 inside. Nothing is ever opened through
// a reparse point (symbolic link, junction, mount point): each is reported
// as a symbolic link. A file's identity is its volume's serial number and
// its file id (GetFileInformationByHandleEx, FileIdInfo), so the same file
// under a renamed path still is that file and a file on another volume is
// not. Windows cannot tell mounts of one volume apart; the mount id stays 0.
#pragma once

#include "torvix/file_layer.h"

namespace torvix {

class Win32FileLayer : public FileLayer {
  public:
    // Besides the separators "\" and "/", ":" is refused: it names a
    // stream of a file, never a file of its own.
    bool IsEntryName(const std::string& name) const override;
    // The folder is opened with no reparse point in its path (win32_folder_path.h).
    int OpenParentFolder(const std::string& path, Handle* folder, std::string* name) override;
    int StatAt(Handle folder, const std::string& name, FileFacts* facts) override;
    int OpenForOverwrite(Handle folder, const std::string& name, Handle* file) override;
    int Stat(Handle handle, FileFacts* facts) override;
    int WriteAt(Handle file, const unsigned char* data, std::size_t size, uint64_t offset,
                std::size_t* written) override;
    // Windows writes back on its own; nothing to hint.
    void StartWriteBack(Handle file, uint64_t offset, uint64_t length) override;
    // FlushFileBuffers.
    int SyncData(Handle file) override;
    int Truncate(Handle file, uint64_t length) override;
    // Opens `from` as itself and renames that handle, refusing to replace.
    int RenameAt(Handle folder, const std::string& from, const std::string& to) override;
    // Opens `name` as itself and marks that handle for deletion.
    int UnlinkAt(Handle folder, const std::string& name) override;
    // A folder handle that cannot be flushed (no write access, or a file
    // system without it) counts as flushed, as on POSIX.
    int SyncFolder(Handle folder) override;
    void Close(Handle handle) override;
};

}  // namespace torvix
