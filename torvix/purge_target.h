// Opening the one file a purge may act on, and proving it is that file.
//
// A name in a folder is looked at (without following a link), opened for
// writing relative to the same folder, and the open file is compared with
// what was looked at. Only a regular file with no other name, on the very
// mount of its folder, passes: another name would be data outside the
// selection, and a file bind-mounted over the name belongs to somewhere
// else. Nothing is written before all of this holds.
#pragma once

#include <cstdint>
#include <string>

#include "torvix/file_layer.h"

namespace torvix {

// The file a caller looked at.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
};

// What failing each check returns: callers that name a file by path did
// not promise an identity, so for them a changed name cannot be opened.
struct TargetCodes {
    int32_t notTheFileSeen;  // another file, or another mount than the folder's
};

// Opens `name` in `folder` into *file with its facts in *facts. With `seen`
// the name must hold that file; without, the file found at the look is
// taken. Results: 0; -2 the name is missing, not an entry name, not a
// regular file, or cannot be opened for writing; -11 the file has other
// hard links; codes.notTheFileSeen for another file or mount. On failure
// *file stays closed.
int32_t OpenPurgeTarget(FileLayer& layer, Handle folder, const std::string& name,
                        const FileIdentity* seen, const TargetCodes& codes, Handle* file,
                        FileFacts* facts);

}  // namespace torvix
