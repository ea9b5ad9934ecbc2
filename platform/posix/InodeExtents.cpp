#include "platform/posix/InodeExtents.h"

#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <vector>

namespace platform {
namespace {

// The longest run one initialized ext4 extent maps.
constexpr std::uint64_t kBlocksPerExtent = 32768;
// Enough to tell a file over the inode's extents from one within them.
constexpr unsigned kExtentsAsked = 8;

}  // namespace

int ExtentsOfFile(int fd, std::uint64_t blockBytes) {
    std::vector<std::uint64_t> buffer(
        (sizeof(fiemap) + kExtentsAsked * sizeof(fiemap_extent)) / sizeof(std::uint64_t) + 1);
    auto* map = reinterpret_cast<fiemap*>(buffer.data());
    map->fm_start = 0;
    map->fm_length = FIEMAP_MAX_OFFSET;
    // Written out first, so that each extent has its place on the disk.
    map->fm_flags = FIEMAP_FLAG_SYNC;
    map->fm_extent_count = kExtentsAsked;
    if (::ioctl(fd, FS_IOC_FIEMAP, map) != 0) return -1;
    // A run reported as one may be several extents on the disk, each no
    // longer than ext4 allows.
    const std::uint64_t longest = kBlocksPerExtent * blockBytes;
    std::uint64_t extents = 0;
    for (unsigned i = 0; i < map->fm_mapped_extents; ++i) {
        extents += (map->fm_extents[i].fe_length + longest - 1) / longest;
    }
    return static_cast<int>(extents);
}

bool HoldsClustersBeyondItsData(int fd, std::uint64_t clusterBytes) {
    struct stat file {};
    if (::fstat(fd, &file) != 0 || clusterBytes == 0) return false;
    const std::uint64_t size = static_cast<std::uint64_t>(file.st_size);
    const std::uint64_t dataClusters = (size + clusterBytes - 1) / clusterBytes;
    return std::uint64_t(file.st_blocks) * 512 > dataClusters * clusterBytes;
}

}  // namespace platform
