// A PATH named on the command line, taken to the drive path the program
// speaks in, and what it names: a file or a folder. Anything else, or a
// path that cannot be reached without following a link, is refused before
// a run could touch it.
#pragma once

#include <optional>
#include <string>

struct PathArgument {
    // "C:\docs\a.txt", "C:\docs", or "C:\" for a drive's root.
    std::string drivePath;
    bool folder = false;
};

// The path as a drive path ("C:\docs") or as a path of this system
// ("/home/ann/docs", relative ones taken from the current folder); "." and
// ".." are resolved by their names, not through the file system. Null, with
// the reason in `problem`, when it lies on no drive of the drive table, is
// missing, or is a symbolic link, a FIFO, a device or a socket, or lies
// behind a link.
std::optional<PathArgument> ResolvePathArgument(const std::string& path, std::string& problem);
