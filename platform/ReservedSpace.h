// Space a file system keeps back from every writer, the administrator
// included, and so from the free-space fill: deleted data lying there would
// survive any fill.
//
// The fill lowers such a reserve for as long as it writes and restores it
// right after. The old value is described first in a record (a line of
// text) that the caller keeps on disk before anything is lowered, so that a
// program that dies meanwhile can restore the reserve at its next start.
// A record restores only the very file system it was taken from, while it
// is still mounted as it was; after a new mount or a restart the system has
// set the reserve anew and the record has nothing left to do.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FolderHandle.h"

namespace platform {

class ReservedSpace {
  public:
    virtual ~ReservedSpace() = default;

    // The record of the reserve of the file system holding `folder`; null
    // when it has none that this process could lower.
    virtual std::optional<std::string> Describe(FolderHandle& folder) = 0;
    // Lowers the reserve the record describes to nothing; the bytes this
    // made writable (0 when it could not be lowered).
    virtual std::uint64_t Lower(const std::string& record) = 0;
    // Raises the reserve back to the value in the record where it is lower
    // now; never lowers it. True when done, or when there is nothing to
    // restore any more (another mount, a restart, a reserve as high).
    virtual bool Restore(const std::string& record) = 0;

    // Bytes the file system holding `folder` still counts as free, whoever
    // may write them: after a fill that ended on a full disk, the space the
    // fill could not reach.
    virtual std::uint64_t FreeBytesOfAnyKind(FolderHandle& folder) = 0;
};

ReservedSpace& Reserves();
// Null restores the real one.
void SetReservedSpaceForTesting(std::shared_ptr<ReservedSpace> reserves);
// This system's own implementation (POSIX or Win32).
std::shared_ptr<ReservedSpace> MakeSystemReservedSpace();
std::shared_ptr<ReservedSpace> MakePosixReservedSpace();

}  // namespace platform
