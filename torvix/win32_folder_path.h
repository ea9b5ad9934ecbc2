// Opening a folder by path on Windows with no reparse point in any
// component.
//
// A path is text that someone else may change while we use it: a folder
// swapped for a junction or symbolic link would lead a purge out of the
// folder the user chose. The path's root (a drive, a share, or the current
// folder) is opened, then each component relative to the last one, each
// opened as itself (never followed) and refused if it is a reparse point:
// symbolic links, junctions and folder mount points alike.
#pragma once

#include <windows.h>

#include <string>

namespace torvix {

// Opens the folder at a UTF-8 path ("C:\a\b", "\\server\share\a", "\\?\C:\a",
// or relative to the current folder; "/" counts as "\") for listing and for
// opens relative to it; ".." drops the component before it, as in Windows
// paths. 0 or an errno value: ELOOP for a reparse point, EINVAL for a
// drive-relative path such as "C:a" or bytes that are not UTF-8.
int OpenFolderWithoutReparsePoints(const std::string& path, HANDLE* folder);

}  // namespace torvix
