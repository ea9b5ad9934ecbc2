#include "platform/posix/VolumeKind.h"

#include <set>

#include "platform/DriveInfo.h"
#include "platform/posix/FileSystemMagic.h"

namespace platform {
namespace {

// The kernel's name for a statfs magic, for volumes missing from the table.
std::string TypeOfMagic(std::uint64_t magic) {
    switch (magic) {
        case kExt4Magic:
            return "ext4";  // ext2, ext3 and ext4 share it
        case kVfatMagic:
            return "vfat";
        case kNtfsMagic:
            return "ntfs";
        case kExfatMagic:
            return "exfat";
        case kBtrfsMagic:
            return "btrfs";
        case kXfsMagic:
            return "xfs";
        case kF2fsMagic:
            return "f2fs";
        case kTmpfsMagic:
            return "tmpfs";
        case kRamfsMagic:
            return "ramfs";
        case kNfsMagic:
            return "nfs";
        case kCifsMagic:
            return "cifs";
        case kSmb2Magic:
            return "smb2";
        case kIso9660Magic:
            return "iso9660";
        case kUdfMagic:
            return "udf";
        case kFuseMagic:
            return "fuse";
        case kOverlayMagic:
            return "overlay";
        case kSquashfsMagic:
            return "squashfs";
        default:
            return "";
    }
}

// The file system proper: a FUSE mount named by what it serves.
std::string BaseType(const VolumeFacts& facts) {
    std::string type = facts.mountType.empty() ? TypeOfMagic(facts.magic) : facts.mountType;
    if (type == "fuseblk") return facts.deviceType.empty() ? type : facts.deviceType;
    if (type.rfind("fuse.", 0) == 0) return type.substr(5);
    return type;
}

bool IsFat(const std::string& type) {
    return type == "vfat" || type == "msdos" || type == "fat" || type == "umsdos";
}

}  // namespace

std::string FileSystemName(const VolumeFacts& facts) {
    std::string type = BaseType(facts);
    if (IsFat(type)) {
        if (facts.deviceVersion == "FAT32") return "FAT32";
        if (facts.deviceVersion == "FAT12" || facts.deviceVersion == "FAT16") return "FAT";
        // A FAT's width follows from its cluster count: from 65,525
        // clusters on, only 32-bit entries can number them.
        return facts.clusters >= 65525 ? "FAT32" : "FAT";
    }
    if (type == "ntfs" || type == "ntfs3" || type == "ntfs-3g" || type == "lowntfs-3g")
        return "NTFS";
    if (type == "exfat") return "exFAT";
    if (type == "iso9660") return "CDFS";
    if (type == "udf") return "UDF";
    return type.empty() ? "unknown" : type;
}

int DriveTypeOf(const VolumeFacts& facts) {
    static const std::set<std::string> kRemote = {
        "nfs",  "nfs4",      "cifs",       "smb3",      "smb2",     "smbfs",   "ncpfs",  "afs",
        "ceph", "9p",        "coda",       "glusterfs", "lustre",   "davfs",   "sshfs",  "rclone",
        "s3fs", "curlftpfs", "gvfsd-fuse", "ceph-fuse", "smbnetfs", "gcsfuse", "goofys", "davfs2"};
    std::string type = BaseType(facts);
    if (type == "tmpfs" || type == "ramfs") return kDriveRamDisk;
    if (kRemote.count(type)) return kDriveRemote;
    if (type == "iso9660" || type == "udf") return kDriveCdRom;
    if (facts.removable) return kDriveRemovable;
    return kDriveFixed;
}

int ObjectTypeOf(int driveTypeCode) {
    switch (driveTypeCode) {
        case kDriveRemovable:
            return kObjectRemovable;
        case kDriveFixed:
            return kObjectFixed;
        case kDriveRemote:
            return kObjectNetwork;
        case kDriveCdRom:
            return kObjectCdRom;
        case kDriveRamDisk:
            return kObjectRamDisk;
        default:
            return kObjectUnknown;
    }
}

}  // namespace platform
