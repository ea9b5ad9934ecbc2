// Opening a name relative to an open folder handle on Windows.
//
// Win32 has no openat; the native NtCreateFile has, through the root folder
// of its object attributes. Every open here passes FILE_OPEN_REPARSE_POINT,
// so a symbolic link, junction or mount point is opened as itself and never
// followed; callers check for FILE_ATTRIBUTE_REPARSE_POINT.
#pragma once

#include <windows.h>

#include <string>

namespace torvix {

// Opens the existing `name` (one entry, UTF-16) of `folder`; `options` adds
// NT create options such as FILE_DIRECTORY_FILE. 0 or an errno value.
int OpenRelative(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options,
                 HANDLE* opened);

// The errno value closest to an NTSTATUS or a Win32 error code.
int ErrnoFromNtStatus(LONG status);
int ErrnoFromWin32Error(DWORD error);

// FILE_ATTRIBUTE_* of an open handle; false if they cannot be read.
bool AttributesOf(HANDLE handle, DWORD* attributes);

}  // namespace torvix
