// The names pass's service on POSIX. Folders are made with mkdirat relative
// to the open parent and opened again without following a link. The facts
// come from the file system and the block layer without opening any
// device: the disk under a mount is found in the mount table, its writes
// and size in /sys/dev/block, ext4's journal in /proc/fs/jbd2, the XFS
// log's size in the file system's geometry and its writes in /sys/fs/xfs.
#include <fcntl.h>
#include <linux/btrfs.h>
#include <linux/btrfs_tree.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/EntryChurn.h"
#include "platform/posix/FileSystemMagic.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFolderHandle.h"

namespace platform {
namespace {

// For a file system on a disk that does not say how large its journal is:
// as large as the largest journal mke2fs makes by default on a disk of up
// to 128 GiB, and larger than XFS's logs of most disks.
constexpr std::uint64_t kAssumedLogBytes = 128ull << 20;

// The geometry's first fields as the XFS user interface defines them (its
// first version, which every kernel still answers); kept here so that
// building needs no XFS development files.
struct XfsGeometryV1 {
    std::uint32_t blocksize, rtextsize, agblocks, agcount, logblocks, sectsize, inodesize,
        imaxpct;
    std::uint64_t datablocks, rtblocks, rtextents, logstart;
    unsigned char uuid[16];
    std::uint32_t sunit, swidth;
    std::int32_t version;
    std::uint32_t flags, logsectsize, rtsectsize, dirblocksize;
};
constexpr unsigned long kXfsGeometryV1 = _IOR('X', 100, XfsGeometryV1);

void Describe(int error, FileFailure& failure) {
    failure.diskFull = error == ENOSPC || error == EDQUOT;
    failure.nameTaken = error == EEXIST;
    failure.why = SystemErrorText(error);
}

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The block device under the mount the folder is seen through, as
// "major:minor"; "" when there is none (a file system in memory or on the
// network). A file system without a device number of its own (btrfs)
// names its device in the mount table; that name is only looked at.
std::string DiskOf(FolderHandle& folder) {
    for (const auto& entry : ReadMountTable()) {
        if (entry.id != folder.Identity().mount) continue;
        if (entry.major != 0) return std::to_string(entry.major) + ":" + std::to_string(entry.minor);
        struct stat device {};
        if (entry.source.rfind("/dev/", 0) != 0 || ::stat(entry.source.c_str(), &device) != 0 ||
            !S_ISBLK(device.st_mode)) {
            return "";
        }
        return std::to_string(major(device.st_rdev)) + ":" + std::to_string(minor(device.st_rdev));
    }
    return "";
}

// The n-th number (from 0) of a line of numbers; null when there is none.
std::optional<std::uint64_t> NumberAt(const std::string& text, int n) {
    std::istringstream numbers(text);
    std::uint64_t value = 0;
    for (int i = 0; i <= n; ++i) {
        if (!(numbers >> value)) return std::nullopt;
    }
    return value;
}

// The journal mke2fs gives an ext4 of so many blocks when it is not told
// another size.
std::uint64_t DefaultExt4JournalBlocks(std::uint64_t blocks) {
    if (blocks < 32768) return 1024;
    if (blocks < 256 * 1024) return 4096;
    if (blocks < 512 * 1024) return 8192;
    if (blocks < 4096 * 1024) return 16384;
    if (blocks < 8192 * 1024) return 32768;
    if (blocks < 16384 * 1024) return 65536;
    if (blocks < 32768 * 1024) return 131072;
    return 262144;
}

// The kernel's name of the block device "major:minor" (as in /sys/block
// and /proc/fs/jbd2); "" when there is none.
std::string DeviceName(const std::string& disk) {
    if (disk.empty()) return "";
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink(("/sys/dev/block/" + disk).c_str(), target, sizeof target - 1);
    if (n <= 0) return "";
    const std::string path(target, std::size_t(n));
    return path.substr(path.rfind('/') + 1);
}

// jbd2 says how large a transaction may grow, which it keeps to at most a
// quarter or a third of the journal: so the journal is at least 4 times
// that (counted on the safe side, the larger). Mke2fs's default journal
// for the disk's size covers journals that jbd2 caps otherwise.
std::uint64_t Ext4JournalBytes(const std::string& disk, std::uint64_t blockBytes) {
    std::uint64_t sectors = 0;
    if (!disk.empty()) sectors = NumberAt(ReadSmallFile("/sys/dev/block/" + disk + "/size"), 0).value_or(0);
    if (sectors == 0 || blockBytes == 0) return kAssumedLogBytes;
    std::uint64_t blocks = DefaultExt4JournalBlocks(sectors * 512 / blockBytes);
    const std::string name = DeviceName(disk);
    if (!name.empty()) {
        const std::string info = ReadSmallFile("/proc/fs/jbd2/" + name + "-8/info");
        const auto at = info.find("each up to ");
        if (at != std::string::npos) {
            blocks = std::max(blocks, 4 * NumberAt(info.substr(at + 11), 0).value_or(0));
        }
    }
    return blocks * blockBytes;
}

// XFS counts, for each mounted file system, the 512-byte blocks it has
// written to its log (the second number of its "log" line of statistics).
std::optional<std::uint64_t> XfsLogBytesWritten(const std::string& device) {
    if (device.empty()) return std::nullopt;
    std::istringstream stats(ReadSmallFile("/sys/fs/xfs/" + device + "/stats/stats"));
    for (std::string line; std::getline(stats, line);) {
        if (line.rfind("log ", 0) != 0) continue;
        const auto blocks = NumberAt(line.substr(4), 1);
        if (blocks) return *blocks * 512;
    }
    return std::nullopt;
}

// Btrfs keeps no journal: each change of its trees goes to new blocks of
// its metadata space, which no fill of data reaches. Old folder blocks lie
// freed there until new metadata takes their place, so that space is what
// the pass must write through. Its size (both copies, where they are kept
// twice) from the file system's space report.
std::uint64_t BtrfsMetadataBytes(int fd) {
    constexpr std::uint64_t kSlots = 16;
    std::vector<char> buffer(sizeof(btrfs_ioctl_space_args) +
                             kSlots * sizeof(btrfs_ioctl_space_info));
    auto* args = reinterpret_cast<btrfs_ioctl_space_args*>(buffer.data());
    args->space_slots = kSlots;
    if (::ioctl(fd, BTRFS_IOC_SPACE_INFO, args) != 0) return kAssumedLogBytes;
    std::uint64_t bytes = 0;
    for (std::uint64_t i = 0; i < std::min<std::uint64_t>(args->total_spaces, kSlots); ++i) {
        const auto& space = args->spaces[i];
        if (space.flags & BTRFS_BLOCK_GROUP_METADATA) {
            bytes += space.total_bytes * ((space.flags & BTRFS_BLOCK_GROUP_DUP) ? 2 : 1);
        }
    }
    return bytes != 0 ? bytes : kAssumedLogBytes;
}

class PosixEntryChurn final : public EntryChurn {
  public:
    std::unique_ptr<FolderHandle> MakeFolder(FolderHandle& parent, const std::string& name,
                                             FileFailure& failure) override {
        if (!IsSingleName(name)) {
            Describe(EINVAL, failure);
            return nullptr;
        }
        const int at = static_cast<int>(parent.NativeHandle());
        if (::mkdirat(at, name.c_str(), 0700) != 0) {
            Describe(errno, failure);
            return nullptr;
        }
        const int fd = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            Describe(errno, failure);
            return nullptr;
        }
        std::string why;
        auto made = PosixFolderHandle::Adopt(fd, &why);
        // Something mounted over the new folder meanwhile is not ours.
        if (made && !made->Identity().SameMountAs(parent.Identity())) made.reset();
        if (!made) Describe(EXDEV, failure);
        return made;
    }

    // An empty file needs no descriptor: mknodat makes it (never through
    // an existing entry or a link planted under the name) with one call
    // where open, fstat and close took three, which counts when a pass
    // makes tens of thousands. Its identity is read back from the entry
    // without following a link; anything but a regular file is not ours.
    std::optional<FileIdentity> MakeEmptyFile(FolderHandle& folder, const std::string& name,
                                              FileFailure& failure) override {
        if (!IsSingleName(name)) {
            Describe(EINVAL, failure);
            return std::nullopt;
        }
        const int at = static_cast<int>(folder.NativeHandle());
        if (::mknodat(at, name.c_str(), S_IFREG | 0600, 0) != 0) {
            Describe(errno, failure);
            return std::nullopt;
        }
        const auto made = EntryAt(at, name);
        if (!made || made->kind != EntryKind::File) {
            // Something else took the name meanwhile: it is left alone.
            Describe(made ? EEXIST : errno, failure);
            return std::nullopt;
        }
        return made->identity;
    }

    std::uint64_t LogBytes(FolderHandle& folder) override {
        const int fd = static_cast<int>(folder.NativeHandle());
        struct statfs kind {};
        if (::fstatfs(fd, &kind) != 0) return kAssumedLogBytes;
        if (kind.f_type == kTmpfsMagic || kind.f_type == kRamfsMagic) return 0;
        if (kind.f_type == kBtrfsMagic) return BtrfsMetadataBytes(fd);
        if (kind.f_type == kExt4Magic) return Ext4JournalBytes(DiskOf(folder), kind.f_bsize);
        XfsGeometryV1 geometry{};
        if (kind.f_type == kXfsMagic && ::ioctl(fd, kXfsGeometryV1, &geometry) == 0 &&
            geometry.logblocks > 0) {
            return std::uint64_t(geometry.logblocks) * geometry.blocksize;
        }
        return kAssumedLogBytes;
    }

    std::optional<std::uint64_t> BytesWrittenToDisk(FolderHandle& folder) override {
        const std::string disk = DiskOf(folder);
        if (disk.empty()) return std::nullopt;
        // The seventh number counts the 512-byte sectors written.
        const auto sectors = NumberAt(ReadSmallFile("/sys/dev/block/" + disk + "/stat"), 6);
        if (!sectors) return std::nullopt;
        return *sectors * 512;
    }

    std::optional<std::uint64_t> BytesWrittenToLog(FolderHandle& folder) override {
        struct statfs kind {};
        if (::fstatfs(static_cast<int>(folder.NativeHandle()), &kind) != 0 ||
            kind.f_type != kXfsMagic) {
            return std::nullopt;
        }
        return XfsLogBytesWritten(DeviceName(DiskOf(folder)));
    }

    std::optional<std::uint64_t> FreeEntries(FolderHandle& folder) override {
        struct statvfs space {};
        if (::fstatvfs(static_cast<int>(folder.NativeHandle()), &space) != 0 ||
            space.f_files == 0) {
            return std::nullopt;
        }
        return space.f_favail;
    }
};

}  // namespace

std::shared_ptr<EntryChurn> MakeSystemEntryChurn() { return std::make_shared<PosixEntryChurn>(); }

}  // namespace platform
