// Whether a drive may be wiped at all. A wipe purges every file of its
// drive, so a drive that holds the running system or this program is
// refused before anything is written: its folder is the file system's
// root, or it holds /usr, /etc, /boot or the program's own folder. The
// folders are recognised by identity, walking up from each of them, so a
// second letter mapped onto them, or a path spelled through "..", changes
// nothing. (The purge speed test may still use such a drive.)
//
// Whether overwriting a file in place reaches its old blocks: on
// copy-on-write and log-structured file systems (btrfs, zfs, bcachefs,
// f2fs, nilfs2) it does not, and only the fill of the free space reaches
// the earlier copies.
#pragma once

#include <string>

// The folder of the system or program that the drive ("D:") holds, as the
// refusal names it; "" when the drive may be wiped.
std::string SystemFolderOnDrive(const std::string& drive);

// True when the drive's file system writes changed data to new blocks.
bool OverwritesMissOldCopies(const std::string& drive);
