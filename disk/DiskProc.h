// Questions about drives: which exist, which is the first fixed one, whether
// a drive is ready, its free space and capacity (also as sentences for the
// disk wipe), its file system, and the cluster size to assume for it.
//
// A drive is named by a designation whose first character is its letter,
// usually followed by a colon ("C:"); letters count in upper case, "A" to
// "Z". Nothing here shows a message: failures come back as results. The
// answers come from platform::Drive(), so tests can inject any drive.
#pragma once

#include <cstdint>
#include <string>

#include "platform/DriveInfo.h"

// The file system of the drive last examined by EstimateClusterSize, as the
// platform names it ("FAT32", "NTFS", "ext4", ...).
extern std::string strDiskFileSystem;
// Total bytes of the disk last examined: written by EstimateClusterSize,
// and by the drive selections of the speed test and the disk wipe.
extern double dblDiskTotalBytes;

// "Drive D has 5,242,880 bytes (5.000 MB) free." The MB part appears from
// 1 MB (1,048,576 bytes) on. Numbers are grouped as the user's locale does.
std::string DriveFreeSpaceText(const std::string& drive, double bytes);
// "The capacity of the disk in Drive D is 40,000,000,000 bytes (37.253 GB) ."
// The GB part (of 1,073,741,824 bytes) appears from 10^9 bytes on; the blank
// before the full stop belongs to the sentence.
std::string DiskCapacityText(const std::string& drive, double bytes);

// The cluster size in bytes to assume for a drive, from its file system and
// capacity; also sets strDiskFileSystem and dblDiskTotalBytes. 512 for A:
// and B: without asking; 4096 for a designation that is no drive letter or
// a drive that cannot be opened. FAT and NTFS go by their size tables (FAT
// below 2 GB asks the file system for its real cluster size first); every
// other file system gives the unit it reports, 4096 when it reports none.
std::int32_t EstimateClusterSize(std::string drive);
// The cluster size the file system reports for a drive designation or root:
// bytes per sector x sectors per cluster; -1 when the query fails, -2 when
// the size is not between 512 and 65,536.
std::int32_t QueryClusterSize(const std::string& root);
// The drive object of the drive that the path (made absolute against the
// current folder when relative) lies on. 0 on success, otherwise the error
// number met: platform::kErrorDiskNotReady (71) when the medium is not
// ready, platform::kErrorDeviceUnavailable (68) when there is no such drive.
std::int32_t OpenDriveObject(const std::string& path, platform::DriveObject& drive);

// True when the designation starts with the letter of an existing drive.
bool DriveExists(const std::string& drive);
// Free bytes available to the user and total bytes of the drive that the
// first two characters of the designation name. 0 on success, -1 on
// failure, in which case freeBytes and totalBytes keep their values.
std::int32_t GetDiskSpace(const std::string& drive, double& freeBytes, double& totalBytes);
// Letter and colon of the first fixed drive from A: to Z:, or "".
std::string FirstFixedDrive();
// True for a fixed drive or RAM disk, otherwise when its space can be read.
bool DriveIsReady(const std::string& path);
