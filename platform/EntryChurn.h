// What the names pass of a wipe needs of the file system: folders and
// empty files of its own, made and removed through an open folder, and the
// facts that bound the pass (how large the file system's journal or log
// is, how much it has written to its disk, how many more entries it can
// make).
//
// A file system keeps the names of deleted files where a fill of its free
// space cannot reach them: in its journal or log, which holds whole
// metadata blocks of recent changes, and in the unused slots of its
// folders and inode tables. Creating and deleting entries of our own
// rewrites both; the facts here say when that has been done enough.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FolderHandle.h"
#include "platform/NewFiles.h"

namespace platform {

class EntryChurn {
  public:
    virtual ~EntryChurn() = default;

    // Makes the folder `name` in `parent` (never an existing entry, never
    // through a link planted under the name) and opens it; null with the
    // failure otherwise (failure.nameTaken when the name is taken).
    virtual std::unique_ptr<FolderHandle> MakeFolder(FolderHandle& parent, const std::string& name,
                                                     FileFailure& failure) = 0;
    // Creates `name` in `folder` as a new empty file and closes it; its
    // identity, or null with the failure.
    virtual std::optional<FileIdentity> MakeEmptyFile(FolderHandle& folder,
                                                      const std::string& name,
                                                      FileFailure& failure);
    // Deletes the file `name` of `folder` while it is still `expected`.
    virtual bool DeleteFile(FolderHandle& folder, const std::string& name,
                            const FileIdentity& expected);
    // Writes out everything of the file system holding `folder`.
    virtual bool Sync(FolderHandle& folder, FileFailure& failure);

    // Bytes of the journal or log of the file system holding `folder` (for
    // one that writes every change to new blocks, of its metadata space),
    // as read from the file system; a documented default for a file system
    // that cannot say; 0 for one that keeps nothing on a disk.
    virtual std::uint64_t LogBytes(FolderHandle& folder) = 0;
    // Bytes the disk under the file system has been written so far, a
    // running count; null when it cannot be told.
    virtual std::optional<std::uint64_t> BytesWrittenToDisk(FolderHandle& folder) = 0;
    // Bytes the file system has written to its journal or log so far, a
    // running count; null when it does not say (the disk's writes are the
    // measure then). The log is a ring: once this has grown by the log's
    // size, every block of the log has been written anew.
    virtual std::optional<std::uint64_t> BytesWrittenToLog(FolderHandle& folder);
    // Entries that can still be made (free inodes); null when the file
    // system sets no fixed number.
    virtual std::optional<std::uint64_t> FreeEntries(FolderHandle& folder) = 0;
};

EntryChurn& TheEntryChurn();
// Null restores the real one.
void SetEntryChurnForTesting(std::shared_ptr<EntryChurn> churn);
// This system's own implementation (POSIX or Win32).
std::shared_ptr<EntryChurn> MakeSystemEntryChurn();

}  // namespace platform
