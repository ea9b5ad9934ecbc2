// How much an ext4 file's inode maps by itself. Its inode holds four
// extents, each a run of at most 32,768 blocks; a file whose data needs
// more gets a block of its own for an extent tree. Where that block takes a
// whole cluster (bigalloc), only the block is ever written: the rest of the
// cluster keeps whatever data it held, and is freed with the file.
#pragma once

#include <cstdint>

namespace platform {

// The extents an inode holds without a tree outside it.
constexpr int kExtentsInInode = 4;

// The extents the data of the open file `fd` takes once what was written to
// it is in place on the disk, each run cut into the longest extents ext4
// makes; counted to at least kExtentsInInode + 1. -1 with errno when the
// file system cannot tell.
int ExtentsOfFile(int fd, std::uint64_t blockBytes);

// True when the open file `fd` is charged for more clusters than its data
// fills: a cluster of its own metadata.
bool HoldsClustersBeyondItsData(int fd, std::uint64_t clusterBytes);

}  // namespace platform
