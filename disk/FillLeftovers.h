// The record of what a fill leaves behind while it runs, so that a fill
// never leaves a disk full, or a file system's reserve lowered, unnoticed.
//
// Each dummy file (and the speed test's test file) is recorded with its
// identity from the moment it is created until it is purged or deleted; a
// lowered reserve is recorded with its old value before it is lowered. The
// record is a small text file in the per-user data folder (a native path). When the program
// was killed or the machine lost power meanwhile, the next start restores
// the reserves at once and offers the dummy files for deletion. A recorded
// file is deleted only while its name still leads to the file recorded.
// The record is written with mode 0600 and trusted only as the user's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"

// The record's file: "kz_fill.lst" in the per-user data folder.
std::string FillRecordPath();

// Each is true when the record was written (and made durable).
bool RecordDummyFile(const std::string& path, const platform::FileIdentity& identity);
// The names pass's folder, named as a dummy file is; forgotten as one is.
bool RecordNamesFolder(const std::string& path, const platform::FileIdentity& identity);
bool ForgetDummyFile(const std::string& path);
bool RecordReserve(const std::string& reserve);
bool ForgetReserve(const std::string& reserve);

struct FillLeftover {
    std::string path;  // drive path, as the fill named it
    platform::FileIdentity identity;
    std::uint64_t size = 0;
    bool folder = false;  // the names pass's, with the entries it holds
};

// Puts every recorded reserve back (raising it, never lowering it), then
// returns the recorded dummy files that are still on their disks as they
// were written: regular files named "dummy" and a number in a drive's top
// folder, of the identity recorded and no larger than a fill writes.
// Other entries are dropped from the record. Another process may have
// written the record: one that is not the user's private file is ignored
// whole, and *warning (when not null) says so.
std::vector<FillLeftover> FindFillLeftovers(std::string* warning = nullptr);

// Deletes the leftovers (each only while it is still the file recorded; a
// folder with the files and empty folders it holds) and drops them from
// the record; the paths that could not be deleted.
std::vector<std::string> DeleteFillLeftovers(const std::vector<FillLeftover>& leftovers);

// The leftovers as lines of "path (n bytes)" with their total, for the
// question of the window and the list of the command-line mode.
std::string FillLeftoversList(const std::vector<FillLeftover>& leftovers,
                              const std::string& lineBreak);

// At start-up: restores the reserves and asks whether to delete the dummy
// files of an interrupted fill (Yes deletes them; either answer ends the
// question for good).
void OfferFillLeftovers();
