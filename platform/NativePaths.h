// Paths of this system itself, as opposed to the program's drive paths: how
// they are joined and trimmed, and which drive table is in force when no
// test or user has set one.
#pragma once

#include <string>

#include "platform/DrivePaths.h"

namespace platform {

// The separator of native paths: '/' on POSIX, '\' on Windows.
extern const char kNativeSeparator;

// base + separator + name, without doubling a separator base ends in.
std::string JoinNative(const std::string& base, const std::string& name);

// The path without trailing separators, except where they make it a root
// ("/", "C:\").
std::string WithoutTrailingSeparator(std::string path);

// The folder a native path's last name lies in; "" when it has none.
std::string NativeParent(const std::string& path);

// The drive table when KESTRANE_DRIVES is unset: on POSIX C: is "/" and
// the other letters the mounted real file systems; on Windows every drive
// letter is the drive itself.
DriveTable DefaultDriveTable();

}  // namespace platform
