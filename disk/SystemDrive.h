// Whether a drive may be wiped at all. A wipe purges every file of its
// drive and fills the free space of its file system to the last block, so
// a drive that touches the running system or this program is refused
// before anything is written: its folder holds /, /usr, /etc, /var, /boot
// or the program's own folder, lies inside one of them, or lies anywhere on
// the file system of one of them (the fill would take the running system's
// last free block). The drive is judged by its root folder as it was opened
// when chosen, and the folders are recognised by identity, walking up from
// each of them and from the drive, so a second letter mapped onto them, a
// path spelled through "..", or a link retargeted meanwhile changes
// nothing. (The purge speed test may still use such a drive.)
//
// Whether overwriting a file in place reaches its old blocks: on
// copy-on-write and log-structured file systems (btrfs, zfs, bcachefs,
// f2fs, nilfs2) it does not, and only the fill of the free space reaches
// the earlier copies.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"

// Why the drive whose root folder is held open must not be wiped, as the
// refusal says it after "Drive D: " ("holds /usr", "lies within /usr",
// "lies on the file system of the running system"); "" when it may be.
std::string WhyDriveIsTheSystems(const platform::FolderHandle& root);

// Tests keep their temporary drives on the machine's own disk: these
// folders then stand for the system's (/, /usr, /etc, /var, /boot or the
// Windows folder, and the running executable's folder). The program folder
// a test set is always one of them. Null restores the real ones.
void SetSystemFoldersForTesting(std::optional<std::vector<std::string>> folders);

// True when the drive's file system writes changed data to new blocks.
bool OverwritesMissOldCopies(const std::string& drive);
