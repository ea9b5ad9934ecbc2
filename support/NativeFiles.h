// Files the program reaches by a native path of this system rather than by
// a drive path: its own per-user folder (which lies wherever the desktop
// keeps configuration, on a mapped drive or not) and an operation file
// named on the command line.
//
// Only the last name of a path is opened without following a link; the
// folders above it are the user's own configuration, not a tree a run
// walks. A FIFO or device in a file's place is refused at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/FolderHandle.h"

namespace native_files {

// True when the path is one of this system's own paths ("/home/ann/x" on
// POSIX), not a drive path.
bool IsNativePath(const std::string& path);

// The whole contents of a regular file, or null when it cannot be read or
// is longer than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes);
// Replaces the file's contents all at once (written and flushed beside it,
// then put in its place); a failure leaves the old file as it was.
bool ReplaceFile(const std::string& path, const std::string& contents);
// The same for a file that is the user's alone: it gets mode 0600 on POSIX,
// whatever mode the file it replaces had.
bool ReplacePrivateFile(const std::string& path, const std::string& contents);
// True when a regular file is at the path.
bool FileExists(const std::string& path);
// True when the file at the path can only be the user's own doing: on POSIX
// a regular file owned by the user with mode 0600, in a folder owned by the
// user that no one else can write to; on Windows a regular file, not a
// link, in a folder that is no link. Otherwise false, with the reason.
bool IsPrivateFile(const std::string& path, std::string& why);
// True when the folder exists now, made if needed (one level).
bool CreateFolder(const std::string& path);
// Identity of the folder at the path; null when there is none.
std::optional<platform::FileIdentity> FolderIdentity(const std::string& path);

}  // namespace native_files
