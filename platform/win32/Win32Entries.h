// Entries of an open folder on Windows, reached relative to its handle.
//
// Win32 has no openat; the native NtCreateFile has, through the root folder
// of its object attributes, so a name is never parsed again from the drive
// down. Every open passes FILE_OPEN_REPARSE_POINT: a symbolic link,
// junction or mount point is opened as itself, reported as a link, and
// never followed.
#pragma once

#include "platform/win32/SystemHeaders.h"

#include <optional>
#include <string>

#include "platform/FolderHandle.h"
#include "platform/win32/WideText.h"

namespace platform {

// True for a name that stands for one entry of a folder: not empty, not
// "." or "..", no separator, and no ":" (which would name a stream).
bool IsSingleWin32Name(const std::string& name);

// Opens `name` of `folder`. `disposition` is FILE_OPEN or FILE_CREATE;
// `options` adds create options such as FILE_DIRECTORY_FILE. 0 on success,
// else the Win32 error code.
DWORD OpenRelative(HANDLE folder, const std::string& name, ACCESS_MASK access, ULONG disposition,
                   ULONG options, OwnedHandle& opened);

// Facts about the object an open handle refers to, named `name`; null when
// the system does not say. Its identity is the volume serial number and the
// file id, folded to 64 bits as the purge library folds it.
std::optional<FolderEntry> EntryOfHandle(HANDLE handle, const std::string& name);

// Opens a folder by its native path, not following a reparse point at the
// last name when `literal` is set.
DWORD OpenFolderByPath(const std::string& nativePath, bool literal, OwnedHandle& opened);

// Access a folder handle is opened with: enough to list it and to open,
// create, rename and delete its entries relative to it.
constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

// Marks an open file or empty folder for deletion; it goes when the last
// handle is closed. 0 or the Win32 error code.
DWORD DeleteByHandle(HANDLE handle);

}  // namespace platform
