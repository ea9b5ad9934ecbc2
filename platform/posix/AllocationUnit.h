// The unit a POSIX file system really hands out space in: the smallest
// piece a file's last bytes can occupy, and so how far its slack reaches.
//
// statvfs gives the block size, which is the unit for most file systems
// (1 KiB on a small ext4, 4 KiB elsewhere). ext4 with bigalloc hands out
// clusters of many blocks, yet still reports its block size: its cluster
// is read from the superblock of its device, or, where that cannot be
// read, from the space its one-block root folder is charged for.
#pragma once

#include <cstdint>

namespace platform {

// The allocation unit in bytes of the file system holding the open folder
// `folderFd`; 0 when it cannot be asked.
std::uint64_t AllocationUnitAt(int folderFd);

}  // namespace platform
