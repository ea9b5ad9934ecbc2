// A folder that a drive path names, found below the drive's root folder as
// it was opened when the drive was chosen, one name at a time: "." and ".."
// are resolved in the text first, and no symbolic link, nothing but a
// folder, and no other file system is passed on the way down. So "D:",
// "d:/" and "D:\keep\.." are all found to be the root itself, whatever the
// drive's path leads to by now.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"

struct FolderOnDrive {
    platform::FileIdentity identity;
    // The drive's root and every folder on the way down to this one.
    std::vector<platform::FileIdentity> above;
};

// Null, with the reason, when the path does not lead to a folder. The
// names after the drive letter are followed; that the letter is root's
// drive is the caller's to know.
std::optional<FolderOnDrive> FindFolderOnDrive(platform::FolderHandle& root,
                                               const std::string& drivePath,
                                               std::string* why = nullptr);
