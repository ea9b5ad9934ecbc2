// Result codes of one file's purge, as kz_purge_file returns them.
//
// Codes -4, -5 and -6 all mean "the file was completely overwritten but is
// still there"; the callers count such a pass as done. Codes -11 and -12
// mean that nothing was written. Code 1 is a purge that went through all
// the same, without the slack.
#pragma once

#include <cstdint>

namespace torvix {

enum PurgeCode : int32_t {
    kPurgeDone = 0,
    kPurgeSlackNotReached = 1,  // done, but no space to write the slack behind the data
    kPurgeOtherFailure = -1,    // no path, passes below 1, no memory, random generator failed
    kPurgeCannotOpen = -2,      // missing, not a regular file, a symbolic link, not writable
    kPurgeWriteFailed =
        -3,  // a write failed (also: disk full), or the length could not be restored
    kPurgeTruncateFailed = -4,  // delete: truncating to zero failed
    kPurgeRenameFailed = -5,    // delete: hiding the name (or flushing the folder after it) failed
    kPurgeRemoveFailed = -6,  // delete: removing the file (or flushing the folder after it) failed
    kPurgeFlushFailed = -7,   // flushing an overwrite to the device failed
    kPurgeBadType = -8,       // purge type outside 0..2
    kPurgeBadClusterSize =
        -9,  // slack purge with a cluster size that is not 512..65536 in steps of 512
    kPurgeKeptGrowing = -10,     // the file grew faster than it could be overwritten; not deleted
    kPurgeOtherLinks = -11,      // the file has more than one name: its data is not only ours
    kPurgeNotTheFileSeen = -12,  // another file (or mount) at the name than the caller saw
};

}  // namespace torvix
