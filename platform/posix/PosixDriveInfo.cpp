// Drives on POSIX: each mapped letter is a drive; its answers come from the
// file system that holds the drive's root folder: the mount table for its
// type, the device database and sysfs for its device, statvfs for its
// space, and the file system's allocation unit for its cluster size.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/DriveInfo.h"
#include "platform/DrivePaths.h"
#include "platform/posix/AllocationUnit.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/VolumeKind.h"

namespace platform {
namespace {

std::string FirstLineOf(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// A value of the device database's record of a block device ("E:KEY=value").
std::string DeviceProperty(unsigned major, unsigned minor, const std::string& key) {
    std::ifstream in("/run/udev/data/b" + std::to_string(major) + ":" + std::to_string(minor));
    std::string line;
    std::string prefix = "E:" + key + "=";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
    }
    return "";
}

// A queue or removable attribute of the disk a block device belongs to: a
// partition keeps them in its parent's folder.
std::string DiskAttribute(unsigned major, unsigned minor, const std::string& attribute) {
    std::string device = "/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
    struct stat st {};
    bool partition = ::stat((device + "/partition").c_str(), &st) == 0;
    return FirstLineOf(device + (partition ? "/../" : "/") + attribute);
}

struct Examined {
    struct statvfs space {};
    VolumeFacts volume;
    std::uint32_t sectorSize = 512;
    std::string source;  // the mount table's device ("/dev/sdb1"), "" when unknown
};

// Everything known about the drive a path starts with; null when the
// letter is not mapped or its root folder cannot be examined.
std::optional<Examined> Examine(const std::string& path) {
    char letter = DriveLetterOf(path);
    if (letter == 0 || !Drives().IsMapped(letter)) return std::nullopt;
    const std::string& root = Drives().Root(letter);
    Examined facts;
    struct stat st {};
    struct statfs fs {};
    if (::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::statvfs(root.c_str(), &facts.space) != 0 || ::statfs(root.c_str(), &fs) != 0) {
        return std::nullopt;
    }
    unsigned major = ::major(st.st_dev);
    unsigned minor = ::minor(st.st_dev);
    facts.volume.magic = static_cast<std::uint64_t>(fs.f_type);
    facts.volume.clusters = facts.space.f_blocks;
    if (char* canonical = ::realpath(root.c_str(), nullptr)) {
        auto table = ReadMountTable();
        if (const MountEntry* entry = MountHolding(table, canonical)) {
            facts.volume.mountType = entry->type;
            facts.source = entry->source;
            major = entry->major;
            minor = entry->minor;
        }
        std::free(canonical);
    }
    facts.volume.deviceType = DeviceProperty(major, minor, "ID_FS_TYPE");
    facts.volume.deviceVersion = DeviceProperty(major, minor, "ID_FS_VERSION");
    facts.volume.removable = DiskAttribute(major, minor, "removable") == "1";
    std::uint64_t sector =
        std::strtoull(DiskAttribute(major, minor, "queue/logical_block_size").c_str(), nullptr, 10);
    if (sector >= 512 && sector <= UINT32_MAX)
        facts.sectorSize = static_cast<std::uint32_t>(sector);
    return facts;
}

std::uint64_t ClusterBytes(const struct statvfs& space) {
    return space.f_frsize ? space.f_frsize : space.f_bsize;
}

class PosixDriveInfo final : public DriveInfo {
  public:
    std::uint32_t LogicalDriveMask() override {
        std::uint32_t mask = 0;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (Drives().IsMapped(letter)) mask |= 1u << (letter - 'A');
        }
        return mask;
    }

    int DriveType(const std::string& path) override {
        auto facts = Examine(path);
        return facts ? DriveTypeOf(facts->volume) : kDriveNoRootDir;
    }

    std::optional<ClusterGeometry> DiskFreeSpace(const std::string& root) override {
        auto facts = Examine(root);
        if (!facts) return std::nullopt;
        std::uint64_t cluster = ClusterBytes(facts->space);
        const int folder = ::open(Drives().Root(DriveLetterOf(root)).c_str(),
                                  O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC);
        if (folder >= 0) {
            if (std::uint64_t unit = AllocationUnitAt(folder)) cluster = unit;
            ::close(folder);
        }
        // The device's sector when it divides the cluster, else 512 bytes,
        // else the cluster as one sector: the product is what counts.
        std::uint64_t sector = facts->sectorSize;
        if (sector > cluster || cluster % sector != 0) sector = cluster % 512 == 0 ? 512 : cluster;
        if (sector == 0 || cluster / sector > UINT32_MAX || sector > UINT32_MAX)
            return std::nullopt;
        return ClusterGeometry{static_cast<std::uint32_t>(cluster / sector),
                               static_cast<std::uint32_t>(sector)};
    }

    std::optional<DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) override {
        auto facts = Examine(root);
        if (!facts) return std::nullopt;
        std::uint64_t unit = ClusterBytes(facts->space);
        // Free to the caller: the administrator may also write the blocks
        // kept back for it, and deleted data lies there as elsewhere.
        std::uint64_t free = ::geteuid() == 0 ? facts->space.f_bfree : facts->space.f_bavail;
        return DiskFreeSpaceEx{SplitCount::Of(free * unit),
                               SplitCount::Of(std::uint64_t(facts->space.f_blocks) * unit)};
    }

    int GetDrive(const std::string& driveName, DriveObject& drive) override {
        char letter = DriveLetterOf(driveName);
        if (letter == 0 || !Drives().IsMapped(letter)) return kErrorDeviceUnavailable;
        auto facts = Examine(driveName);
        if (!facts) return kErrorDiskNotReady;
        drive = DriveObject{letter, FileSystemName(facts->volume),
                            double(facts->space.f_blocks) * double(ClusterBytes(facts->space)),
                            ObjectTypeOf(DriveTypeOf(facts->volume)), true, facts->source};
        return 0;
    }
};

}  // namespace

std::shared_ptr<DriveInfo> MakePosixDriveInfo() { return std::make_shared<PosixDriveInfo>(); }

std::shared_ptr<DriveInfo> MakeSystemDriveInfo() { return MakePosixDriveInfo(); }

}  // namespace platform
