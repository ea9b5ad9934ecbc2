// The cluster size to assume for a drive, from its file system and size,
// or from what the file system reports where no table applies.
#include "disk/DiskProc.h"
#include "platform/DrivePaths.h"

namespace {

constexpr double kMB = 1048576.0;

std::int32_t FatTable(double total) {
    if (total < 128 * kMB) return 2048;
    if (total < 256 * kMB) return 4096;
    if (total < 512 * kMB) return 8192;
    if (total < 1024 * kMB) return 16384;
    if (total < 2048 * kMB) return 32768;
    return 65536;
}

std::int32_t Fat32Table(double total) {
    if (total < 8192 * kMB) return 4096;
    if (total < 16384 * kMB) return 8192;
    if (total < 32768 * kMB) return 16384;
    return 32768;
}

// Inclusive limits, unlike the FAT tables.
std::int32_t NtfsTable(double total) {
    if (total <= 512 * kMB) return 512;
    if (total <= 1024 * kMB) return 1024;
    if (total <= 2048 * kMB) return 2048;
    if (total <= 4096 * kMB) return 4096;
    if (total <= 8192 * kMB) return 8192;
    if (total <= 16384 * kMB) return 16384;
    if (total <= 32768 * kMB) return 32768;
    return 65536;
}

}  // namespace

std::int32_t QueryClusterSize(const std::string& root) {
    auto geometry = platform::Drive().DiskFreeSpace(root);
    if (!geometry) return -1;
    std::uint64_t size = std::uint64_t(geometry->sectorsPerCluster) * geometry->bytesPerSector;
    return (size >= 512 && size <= 65536) ? static_cast<std::int32_t>(size) : -2;
}

std::int32_t EstimateClusterSize(std::string drive) {
    if (drive.size() == 1) drive += ":";
    char letter = platform::DriveLetterOf(drive);
    if (letter == 0) return 4096;
    if (letter == 'A' || letter == 'B') return 512;

    platform::DriveObject object;
    if (OpenDriveObject(drive, object) != 0) return 4096;
    strDiskFileSystem = object.fileSystem;
    double freeBytes = 0;
    if (GetDiskSpace(drive, freeBytes, dblDiskTotalBytes) != 0) {
        dblDiskTotalBytes = object.totalSize;
    }
    double total = dblDiskTotalBytes;

    const std::string& fs = strDiskFileSystem;
    if (fs == "FAT" || fs == "FAT16" || fs == "VFAT") {
        if (total < 2048 * kMB) {
            std::int32_t reported = QueryClusterSize(drive);
            if (reported > 0) return reported;
        }
        return FatTable(total);
    }
    if (fs == "FAT32") return Fat32Table(total);
    if (fs == "NTFS" || fs == "NTFS5") return NtfsTable(total);
    // Any other file system is asked: a small ext4 allocates 1 KiB blocks,
    // a bigalloc one 64 KiB clusters, and a slack overwrite that assumed
    // 4096 would either need new blocks or stop short of the cluster's end.
    std::int32_t reported = QueryClusterSize(drive);
    return reported > 0 ? reported : 4096;
}
