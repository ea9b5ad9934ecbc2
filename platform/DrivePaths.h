// Drive-letter paths on a system without drive letters.
//
// The program speaks in paths such as "C:\folder\file". A drive table maps
// each letter to a native folder: KESTRANE_DRIVES="C=/;D=/mnt/data" sets it;
// unset, C: is "/" and the further letters go to the other mounted real file
// systems. Letters are case-insensitive; the rest of a path keeps its case
// exactly, so two names that differ only in case never reach the same file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DriveTable {
public:
    // Parses "C=/;D=/mnt/data"; entries with a bad letter or an empty folder
    // are ignored.
    static DriveTable FromSpec(std::string_view spec);
    // The table from KESTRANE_DRIVES, or the mounted real file systems.
    static DriveTable FromEnvironment();

    void Map(char letter, std::string nativeRoot);
    // Native root of the drive ("" when the letter is not mapped).
    const std::string& Root(char letter) const;
    bool IsMapped(char letter) const { return !Root(letter).empty(); }

private:
    std::array<std::string, 26> roots_;
};

// The table in force; built from the environment at first use.
const DriveTable& Drives();
// Replaces the table in force (tests map letters to temporary folders).
void SetDrives(DriveTable table);

// A drive path taken apart: its drive letter and the names below the
// drive's root, "." dropped and ".." resolved against the names before it.
struct DrivePathNames {
    char letter = 0;  // upper case
    std::vector<std::string> names;
};
// Accepts "\" and "/" as separators; null without a mapped drive letter or
// when ".." would climb above the drive's root.
std::optional<DrivePathNames> SplitDrivePath(std::string_view drivePath);

// "C:\a\b" -> "<root of C>/a/b". Accepts "/" as a separator too, "C:" alone
// and "C:\" for the root. Rejects paths without a mapped drive letter and
// paths with ".." components that would climb above the drive's root.
std::optional<std::string> ToNativePath(std::string_view drivePath);

// The reverse: the drive path of a native path below some drive's root,
// choosing the drive with the longest matching root.
std::optional<std::string> ToDrivePath(std::string_view nativePath);

// The upper-case drive letter a drive designation starts with, or 0.
char DriveLetterOf(std::string_view designation);

}  // namespace platform
