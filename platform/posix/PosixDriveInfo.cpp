// Drives on POSIX: each mapped letter is a drive; its answers come from the
// file system that holds the drive's root folder.
#include <sys/statvfs.h>

#include "platform/DriveInfo.h"
#include "platform/DrivePaths.h"

namespace platform {
namespace {

SplitCount Split(std::uint64_t value) {
    return {static_cast<std::int32_t>(value >> 32),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(value))};
}

std::optional<struct statvfs> StatRoot(const std::string& path) {
    char letter = DriveLetterOf(path);
    if (letter == 0 || !Drives().IsMapped(letter)) return std::nullopt;
    struct statvfs vfs {};
    if (::statvfs(Drives().Root(letter).c_str(), &vfs) != 0) return std::nullopt;
    return vfs;
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
        char letter = DriveLetterOf(path);
        if (letter == 0 || !Drives().IsMapped(letter)) return kDriveNoRootDir;
        return kDriveFixed;
    }

    std::optional<ClusterGeometry> DiskFreeSpace(const std::string& root) override {
        auto vfs = StatRoot(root);
        if (!vfs) return std::nullopt;
        return ClusterGeometry{static_cast<std::uint32_t>(vfs->f_frsize / 512), 512};
    }

    std::optional<DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) override {
        auto vfs = StatRoot(root);
        if (!vfs) return std::nullopt;
        return DiskFreeSpaceEx{Split(std::uint64_t(vfs->f_bavail) * vfs->f_frsize),
                               Split(std::uint64_t(vfs->f_blocks) * vfs->f_frsize)};
    }

    int GetDrive(const std::string& driveName, DriveObject& drive) override {
        char letter = DriveLetterOf(driveName);
        if (letter == 0 || !Drives().IsMapped(letter)) return kErrorDeviceUnavailable;
        auto vfs = StatRoot(driveName);
        if (!vfs) return kErrorDiskNotReady;
        drive = DriveObject{letter, "unknown",
                            double(vfs->f_blocks) * double(vfs->f_frsize), kObjectFixed, true};
        return 0;
    }
};

}  // namespace

std::shared_ptr<DriveInfo> MakePosixDriveInfo() { return std::make_shared<PosixDriveInfo>(); }

}  // namespace platform
