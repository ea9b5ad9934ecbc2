// Drives: which exist, what kind they are, their space, cluster size and
// file system.
//
// The answers take the shapes the drive procedures expect (a bit mask of
// drives, numbered drive types, 64-bit counts in signed 32-bit halves), so
// that those procedures keep their arithmetic and tests can inject answers
// no test machine can produce. A drive is named by its upper-case letter.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// Numbering of the drive-type query (of a path).
enum DriveTypeCode : int {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

// Numbering of the drive object's type property.
enum DriveObjectType : int {
    kObjectUnknown = 0,
    kObjectRemovable = 1,
    kObjectFixed = 2,
    kObjectNetwork = 3,
    kObjectCdRom = 4,
    kObjectRamDisk = 5,
};

// Error number of a drive object whose medium is not ready.
constexpr int kErrorDiskNotReady = 71;
// Error number of a drive object that does not exist.
constexpr int kErrorDeviceUnavailable = 68;

// A 64-bit count as two signed 32-bit halves: value = high * 2^32 + low,
// where a negative low half stands for low + 2^32.
struct SplitCount {
    std::int32_t high = 0;
    std::int32_t low = 0;

    static SplitCount Of(std::uint64_t value) {
        return {static_cast<std::int32_t>(value >> 32),
                static_cast<std::int32_t>(static_cast<std::uint32_t>(value))};
    }
};

struct DiskFreeSpaceEx {
    SplitCount freeBytesAvailable;  // to the caller
    SplitCount totalBytes;
};

struct ClusterGeometry {
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
};

struct DriveObject {
    char letter = 0;
    std::string fileSystem;  // "NTFS", "FAT32", "FAT", "ext4", ...
    double totalSize = 0;
    int driveType = kObjectUnknown;
    bool isReady = false;
    // What holds the file system ("/dev/sdb1"), for the user to recognise
    // the drive by; "" where the system does not say.
    std::string device;
};

class DriveInfo {
public:
    virtual ~DriveInfo() = default;

    // Bit 0 = A: ... bit 25 = Z:, set for each existing drive.
    virtual std::uint32_t LogicalDriveMask() = 0;
    // Type of the drive a path or designation starts with.
    virtual int DriveType(const std::string& path) = 0;
    // Null when the query fails (no such drive, no medium).
    virtual std::optional<ClusterGeometry> DiskFreeSpace(const std::string& root) = 0;
    virtual std::optional<DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) = 0;
    // The drive object of a drive name ("C:"); on failure the error number.
    virtual int GetDrive(const std::string& driveName, DriveObject& drive) = 0;
};

DriveInfo& Drive();
void SetDriveInfoForTesting(std::shared_ptr<DriveInfo> info);

// This system's own implementation (POSIX or Win32).
std::shared_ptr<DriveInfo> MakeSystemDriveInfo();
std::shared_ptr<DriveInfo> MakePosixDriveInfo();

}  // namespace platform
