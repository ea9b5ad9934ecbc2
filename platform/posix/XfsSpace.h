// What XFS keeps out of reach of ordinary writers, asked of the file system
// itself (all of it needs the administrator's rights).
//
// XFS holds a pool of blocks back from every writer (by default 5 % of the
// blocks, at most 8192) so that it can still finish updates on a full disk;
// the pool is set per mount and can be lowered and raised again. Beyond the
// pool, each allocation group keeps blocks for its own metadata (the
// reverse-mapping and reference-count trees, the free list) that nothing
// lowers; statfs counts none of these as free.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// The reserve pool, in blocks, of the XFS file system holding the open
// descriptor `fd`; null when it is no XFS or the pool cannot be read.
std::optional<std::uint64_t> XfsReservePool(int fd);
bool SetXfsReservePool(int fd, std::uint64_t blocks);
// The XFS file system's block size in bytes; 0 when it cannot be asked.
std::uint64_t XfsBlockBytes(int fd);

// A read-only descriptor of the top folder of the mount with id `mount`,
// when that mount still shows device major:minor and holds XFS; -1
// otherwise. The mount point is looked up by path, so what is opened is
// checked against the device before it is used.
int OpenXfsMount(std::uint64_t mount, unsigned major, unsigned minor);

// Bytes the free-space trees of the XFS file system hold, whoever may write
// them (the pool and the groups' reservations included); null when the
// file system cannot be asked.
std::optional<std::uint64_t> XfsFreeBytes(int fd);

}  // namespace platform
