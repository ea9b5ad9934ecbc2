#include "platform/posix/AllocationUnit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/posix/FileSystemMagic.h"

namespace platform {
namespace {

constexpr off_t kSuperblockOffset = 1024;
constexpr unsigned kRoCompatBigalloc = 0x0200;

std::uint32_t Little32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// The device node's name of a block device number ("loop0"), from sysfs.
std::string DeviceName(dev_t device) {
    std::ifstream in("/sys/dev/block/" + std::to_string(::major(device)) + ":" +
                     std::to_string(::minor(device)) + "/uevent");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("DEVNAME=", 0) == 0) return line.substr(8);
    }
    return "";
}

// The cluster of a bigalloc ext4 from its superblock; 0 when the device
// cannot be read (not the administrator), is not that file system's own
// node, or carries no bigalloc.
std::uint64_t Ext4ClusterFromSuperblock(dev_t device) {
    const std::string name = DeviceName(device);
    if (name.empty() || name.find("..") != std::string::npos) return 0;
    const int fd =
        ::open(("/dev/" + name).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat node {};
    unsigned char block[1024];
    const bool read = ::fstat(fd, &node) == 0 && S_ISBLK(node.st_mode) && node.st_rdev == device &&
                      ::pread(fd, block, sizeof block, kSuperblockOffset) == ssize_t(sizeof block);
    ::close(fd);
    if (!read || (block[0x38] | block[0x39] << 8) != kExt4Magic) return 0;
    if ((Little32(block + 0x64) & kRoCompatBigalloc) == 0) return 0;
    const std::uint32_t logCluster = Little32(block + 0x1C);
    return logCluster < 22 ? std::uint64_t(1024) << logCluster : 0;
}

}  // namespace

std::uint64_t AllocationUnitAt(int folderFd) {
    struct statvfs space {};
    struct statfs kind {};
    struct stat folder {};
    if (::fstatvfs(folderFd, &space) != 0 || ::fstatfs(folderFd, &kind) != 0 ||
        ::fstat(folderFd, &folder) != 0) {
        return 0;
    }
    const std::uint64_t block = space.f_frsize ? space.f_frsize : space.f_bsize;
    if (kind.f_type != kExt4Magic) return block;
    if (std::uint64_t cluster = Ext4ClusterFromSuperblock(folder.st_dev)) return cluster;
    // A folder of one block is charged a whole cluster.
    const std::uint64_t charged = std::uint64_t(folder.st_blocks) * 512;
    if (S_ISDIR(folder.st_mode) && std::uint64_t(folder.st_size) == block && charged > block &&
        charged % block == 0) {
        return charged;
    }
    return block;
}

}  // namespace platform
