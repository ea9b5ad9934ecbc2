// What a user would call a mounted file system, and what kind of drive it
// is, from the facts the system gives about it.
//
// Names take the form drives are known by elsewhere: a FAT volume is
// "FAT32", or "FAT" for the older 12- and 16-bit FATs; ntfs, ntfs3 and
// ntfs-3g are "NTFS"; exfat is "exFAT"; iso9660 is "CDFS" and udf "UDF";
// every other file system keeps the system's own name ("ext4", "btrfs",
// "tmpfs", "sshfs").
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct VolumeFacts {
    // The mount table's type ("vfat", "fuseblk", "fuse.sshfs"); "" when the
    // volume has no entry there.
    std::string mountType;
    // statfs's file-system magic, used when mountType is "".
    std::uint64_t magic = 0;
    // What the device database found on the block device (ID_FS_TYPE,
    // ID_FS_VERSION, as in "vfat", "FAT16"); "" when unknown.
    std::string deviceType;
    std::string deviceVersion;
    // Clusters of the volume (statfs's block count).
    std::uint64_t clusters = 0;
    // The block device says its medium can be taken out.
    bool removable = false;
};

// The file system's name as described above.
std::string FileSystemName(const VolumeFacts& facts);

// The drive type (DriveTypeCode of DriveInfo.h): RAM disk for tmpfs and
// ramfs, remote for network file systems, CD-ROM for iso9660 and udf,
// removable when the device says so, fixed otherwise.
int DriveTypeOf(const VolumeFacts& facts);

// The drive object's type (DriveObjectType) for a drive-type code.
int ObjectTypeOf(int driveTypeCode);

}  // namespace platform
