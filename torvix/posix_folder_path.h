// Opening a folder by path on POSIX with no symbolic link in any component.
//
// A path is text that someone else may change while we use it: a component
// swapped for a link would lead a purge out of the folder the user chose.
// openat2 refuses links (and /proc magic links) while it resolves; kernels
// without it get the same guarantee from a walk that opens one component at
// a time relative to the last with O_NOFOLLOW. Mount points on the way are
// crossed: a user's files may well sit on a separately mounted /home.
#pragma once

#include <string>

namespace torvix {

// Opens the folder at path (relative paths from the current folder) for
// reading and for the *at calls; 0 or an errno value (ELOOP for a link).
int OpenFolderWithoutLinks(const std::string& path, int* folder);

// The walk alone, as kernels without openat2 use it.
int OpenFolderByWalk(const std::string& path, int* folder);

}  // namespace torvix
