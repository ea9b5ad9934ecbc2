// The folders a walk is in: from the folder it started at down to the one
// it is in now, each with the entries read from it and how far the walk has
// come through them.
//
// A walk keeps its levels here rather than on the call stack, so a tree of
// any depth costs memory, never the thread's stack: someone who can write
// to a drive cannot end a run half-way by nesting folders. Only the deepest
// levels hold their folders open; a level further up is closed and, on the
// way back, opened again from the subfolder just left, and only when it is
// still the very folder it was (device, inode, mount). So neither the
// handles a process may hold nor a folder moved meanwhile bound the depth
// or lead the walk elsewhere.
//
// The drive path of the folder the walk is in is one text that grows by a
// name on the way down and shrinks on the way back, so a tree thousands of
// levels deep does not hold a copy of an ever longer path for each level.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"

class FolderTrail {
  public:
    // How many levels below the start folder stay open.
    static constexpr std::size_t kOpenLevels = 256;

    struct Level {
        // Null only in a level come back to that could not be opened again
        // (moved or removed meanwhile): the walk is done with it.
        platform::FolderHandle* dir = nullptr;
        std::vector<platform::FolderEntry> entries;
        std::size_t next = 0;  // the next entry to look at for a subfolder

      private:
        friend class FolderTrail;
        std::unique_ptr<platform::FolderHandle> owned;  // null for the start folder
        platform::FileIdentity identity;
        std::size_t pathLength = 0;
    };

    // Starts in `start`, which the caller holds open for the whole walk;
    // `path` is its drive path, ending in a backslash.
    FolderTrail(platform::FolderHandle& start, std::string path);

    bool Empty() const { return levels_.empty(); }
    // 1 in the start folder.
    std::size_t Depth() const { return levels_.size(); }
    // The folder the walk is in. Invalidated by Enter and Leave.
    Level& Current() { return levels_.back(); }
    // Its drive path, ending in a backslash.
    const std::string& Path() const { return path_; }
    // The drive path of its subfolder `name`, ending in a backslash.
    std::string SubfolderPath(const std::string& name) const { return path_ + name + "\\"; }

    // Goes down into `sub`, the subfolder `name` of the current folder.
    void Enter(std::unique_ptr<platform::FolderHandle> sub, const std::string& name);
    // Goes back up from the current folder and gives back its handle (null
    // for the start folder, which stays the caller's, and for a level that
    // could not be opened again).
    std::unique_ptr<platform::FolderHandle> Leave();

  private:
    std::vector<Level> levels_;
    std::string path_;
};
