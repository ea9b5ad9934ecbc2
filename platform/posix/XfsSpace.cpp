#include "platform/posix/XfsSpace.h"

#include <fcntl.h>
#include <linux/fsmap.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <vector>

#include "platform/posix/FileSystemMagic.h"
#include "platform/posix/MountTable.h"

namespace platform {
namespace {

// The reserve pool's ioctls as the XFS user interface defines them; kept
// here so that building needs no XFS development files.
struct XfsResblks {
    std::uint64_t resblks;
    std::uint64_t resblksAvail;
};
constexpr unsigned long kXfsSetResblks = _IOWR('X', 114, XfsResblks);
constexpr unsigned long kXfsGetResblks = _IOR('X', 115, XfsResblks);

bool IsXfs(int fd) {
    struct statfs kind {};
    return ::fstatfs(fd, &kind) == 0 && kind.f_type == kXfsMagic;
}

}  // namespace

std::optional<std::uint64_t> XfsReservePool(int fd) {
    XfsResblks pool{};
    if (!IsXfs(fd) || ::ioctl(fd, kXfsGetResblks, &pool) != 0) return std::nullopt;
    return pool.resblks;
}

bool SetXfsReservePool(int fd, std::uint64_t blocks) {
    XfsResblks pool{blocks, 0};
    return IsXfs(fd) && ::ioctl(fd, kXfsSetResblks, &pool) == 0;
}

std::uint64_t XfsBlockBytes(int fd) {
    struct statvfs space {};
    if (!IsXfs(fd) || ::fstatvfs(fd, &space) != 0) return 0;
    return space.f_frsize ? space.f_frsize : space.f_bsize;
}

int OpenXfsMount(std::uint64_t mount, unsigned major, unsigned minor) {
    for (const auto& entry : ReadMountTable()) {
        if (entry.id != mount) continue;
        if (entry.major != major || entry.minor != minor) return -1;
        const int fd =
            ::open(entry.mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return -1;
        struct stat self {};
        if (::fstat(fd, &self) == 0 && self.st_dev == ::makedev(major, minor) && IsXfs(fd)) {
            return fd;
        }
        ::close(fd);
        return -1;
    }
    return -1;
}

std::optional<std::uint64_t> XfsFreeBytes(int fd) {
    if (!IsXfs(fd)) return std::nullopt;
    // The space map lists every extent of the device, free ones included,
    // in batches; each batch goes on after the last extent of the one before.
    constexpr unsigned kBatch = 128;
    std::vector<char> buffer(sizeof(fsmap_head) + kBatch * sizeof(fsmap));
    auto* head = reinterpret_cast<fsmap_head*>(buffer.data());
    head->fmh_count = kBatch;
    head->fmh_keys[1].fmr_device = ~0u;
    head->fmh_keys[1].fmr_physical = ~0ull;
    head->fmh_keys[1].fmr_owner = ~0ull;
    head->fmh_keys[1].fmr_offset = ~0ull;
    head->fmh_keys[1].fmr_flags = ~0u;
    std::uint64_t free = 0;
    for (;;) {
        if (::ioctl(fd, FS_IOC_GETFSMAP, head) != 0) return std::nullopt;
        if (head->fmh_entries == 0) break;
        const fsmap* last = nullptr;
        for (unsigned i = 0; i < head->fmh_entries; ++i) {
            last = &head->fmh_recs[i];
            if ((last->fmr_flags & FMR_OF_SPECIAL_OWNER) && last->fmr_owner == FMR_OWN_FREE) {
                free += last->fmr_length;
            }
        }
        if (last->fmr_flags & FMR_OF_LAST) break;
        head->fmh_keys[0] = *last;
    }
    return free;
}

}  // namespace platform
