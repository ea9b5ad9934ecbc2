// Files that the program itself writes from nothing: the dummy files of the
// free-space fill and the test file of the speed test.
//
// Such a file is always created new, relative to an open folder, with a
// name that names nothing yet: never an existing file, never through a
// symbolic link planted under that name. It is written by appending, each
// failure told apart as a full disk (the normal end of a fill) or anything
// else, and it is deleted later only while its name still leads to the file
// that was created. Tests install a fake to make writes fail on purpose.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/FolderHandle.h"

namespace platform {

// Why an operation failed.
struct FileFailure {
    bool diskFull = false;   // no room left (also a user's quota used up)
    bool nameTaken = false;  // creating: the name names an entry already
    // Appending: the file can take no more without a cluster of metadata of
    // its own (see CreateOwningNoMetadata); a new file can.
    bool fileFull = false;
    std::string why;         // the system's description, for the user
};

class NewFile {
  public:
    virtual ~NewFile() = default;
    const FileIdentity& Identity() const { return identity_; }

    // Appends up to `bytes` bytes of `data`; the number written, which may
    // be fewer (a nearly full disk). 0 with `failure` set when nothing
    // could be written.
    virtual std::size_t Append(const char* data, std::size_t bytes, FileFailure& failure) = 0;
    // Makes what was written durable on the disk.
    virtual bool Flush(FileFailure& failure) = 0;
    // Closes the file; false when the system reports a late write error.
    virtual bool Close(FileFailure& failure) = 0;

  protected:
    FileIdentity identity_;
};

class NewFiles {
  public:
    virtual ~NewFiles() = default;
    // Creates `name` in `folder` as a new, empty regular file; null with
    // failure.nameTaken when any entry of that name exists, links included.
    virtual std::unique_ptr<NewFile> Create(FolderHandle& folder, const std::string& name,
                                            FileFailure& failure) = 0;
    // As Create, for a file whose writes should take their space on the disk
    // as they are made, not later when the system writes its cache out: on
    // a disk whose reserve is lowered, a late write can find no room for the
    // metadata it needs and fail after the program was told it succeeded.
    // Where the system cannot write so, a plain new file.
    virtual std::unique_ptr<NewFile> CreateWrittenThrough(FolderHandle& folder,
                                                          const std::string& name,
                                                          FileFailure& failure) {
        return Create(folder, name, failure);
    }
    // As CreateWrittenThrough, for a file that must own no cluster of
    // metadata where metadata takes whole clusters (MetadataTakesWholeClusters):
    // its appends stop short, with failure.fileFull, of any write that could
    // give it more data runs than its own record maps, and a write that gave
    // it such a cluster all the same fails. A fill of such files writes every
    // cluster it takes. Elsewhere the same as CreateWrittenThrough.
    virtual std::unique_ptr<NewFile> CreateOwningNoMetadata(FolderHandle& folder,
                                                            const std::string& name,
                                                            FileFailure& failure) {
        return CreateWrittenThrough(folder, name, failure);
    }
    // Deletes the regular file `name` of `folder` if it is still `expected`.
    virtual bool DeleteIfStill(FolderHandle& folder, const std::string& name,
                               const FileIdentity& expected) = 0;
    // Writes out everything of the file system holding `folder`, metadata
    // included, so that a file deleted next cannot take blocks with it that
    // were never written in their place.
    virtual bool SyncFileSystem(FolderHandle& folder, FileFailure& failure) = 0;
    // True when the file system holding `folder` gives each block of
    // metadata (a file's extent tree, a folder's entries) a whole cluster of
    // several blocks, whose other blocks nobody writes: the cluster a dummy
    // file's own metadata took keeps old data, and is freed with the file.
    virtual bool MetadataTakesWholeClusters(FolderHandle& folder) = 0;
};

NewFiles& TheNewFiles();
// Null restores the real one.
void SetNewFilesForTesting(std::shared_ptr<NewFiles> files);
// This system's own implementation (POSIX or Win32).
std::shared_ptr<NewFiles> MakeSystemNewFiles();
std::shared_ptr<NewFiles> MakePosixNewFiles();

}  // namespace platform
