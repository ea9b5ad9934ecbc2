// The names pass, the last step of a wipe: overwrites the names of deleted
// files that the file system still keeps where no fill reaches them, in
// its journal or log (which holds whole folder blocks of recent changes)
// and in the free slots of its folders and inode tables.
//
// In a folder of its own at the drive's top level ("dummy" and a number,
// made through the drive's open root and recorded as a fill's leftover
// until it is gone), it creates empty files and folders with long random
// names in rounds, syncing the file system after each, and deletes them
// all, over and over, until the disk under the file system has been
// written several times the size of its journal or log, or no more entries
// can be made, or it is told to stop. Everything it made is deleted,
// however it ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/FolderHandle.h"

struct NamesPassOutcome {
    std::uint64_t entriesWritten = 0;  // created (and deleted again)
    bool stopped = false;              // told to stop before it was done
    std::string failure;               // why it could not do its work; "" when it could
    bool leftBehind = false;           // an entry of its own could not be deleted
};

// Runs the pass on the drive (letter and colon) whose top folder `root`
// is. `keepGoing` is asked every few entries (with the count so far, for
// the progress text); false stops the pass.
NamesPassOutcome OverwriteDeletedNames(platform::FolderHandle& root, const std::string& drive,
                                       const std::function<bool(std::uint64_t)>& keepGoing);

// The report's lines on the pass on drive D (letter and colon), each
// ending in lineBreak: how many entries it wrote, or why it did not finish.
std::string NamesPassNote(const std::string& drive, const NamesPassOutcome& outcome,
                          const std::string& lineBreak);
