#include <gtest/gtest.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>

#include <filesystem>

#include "disk/DiskProc.h"
#include "platform/DriveInfo.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/VolumeKind.h"
#include "tests/testsupport/TempDrive.h"

namespace {

using platform::VolumeFacts;

constexpr std::uint64_t kTmpfsMagic = 0x01021994;

TEST(MountTable, ParsesEntriesAndFindsTheOneHoldingAPath) {
    auto entries = platform::ParseMountInfo(
        "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "40 26 8:17 / /media/usb\\040stick rw shared:5 master:2 - vfat /dev/sdb1 rw\n"
        "41 26 0:45 / /mnt/data rw - nfs4 server:/export rw\n"
        "42 26 0:46 / /mnt/data rw - tmpfs tmpfs rw\n"
        "garbage line\n"
        "43 26 0:47 / /mnt/database rw - btrfs /dev/sdc rw\n");
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[1].mountPoint, "/media/usb stick");
    EXPECT_EQ(entries[1].type, "vfat") << "optional fields are skipped";
    EXPECT_EQ(entries[1].major, 8u);
    EXPECT_EQ(entries[1].minor, 17u);

    auto holder = [&](const char* path) {
        const platform::MountEntry* e = platform::MountHolding(entries, path);
        return e ? e->type : std::string("none");
    };
    EXPECT_EQ(holder("/home/user"), "ext4");
    EXPECT_EQ(holder("/media/usb stick/docs"), "vfat");
    EXPECT_EQ(holder("/mnt/data/x"), "tmpfs") << "the later mount hides the earlier";
    EXPECT_EQ(holder("/mnt/database"), "btrfs");
    EXPECT_EQ(holder("/mnt/datab"), "ext4") << "a prefix must end at a folder boundary";
    EXPECT_EQ(holder("relative"), "none");
}

TEST(VolumeKind, NamesAsUsersKnowThem) {
    struct {
        VolumeFacts facts;
        const char* name;
        int type;
    } cases[] = {
        {{"vfat", 0, "vfat", "FAT32", 100}, "FAT32", platform::kDriveFixed},
        {{"vfat", 0, "vfat", "FAT16", 70000}, "FAT", platform::kDriveFixed},
        {{"vfat", 0, "", "", 65524}, "FAT", platform::kDriveFixed},
        {{"vfat", 0, "", "", 65525}, "FAT32", platform::kDriveFixed},
        {{"msdos", 0, "", "", 2000, true}, "FAT", platform::kDriveRemovable},
        {{"ntfs3", 0, "", "", 0}, "NTFS", platform::kDriveFixed},
        {{"fuseblk", 0, "ntfs", "", 0, true}, "NTFS", platform::kDriveRemovable},
        {{"fuseblk", 0, "exfat", "", 0}, "exFAT", platform::kDriveFixed},
        {{"ext4", 0, "ext4", "1.0", 0}, "ext4", platform::kDriveFixed},
        {{"tmpfs", 0, "", "", 0}, "tmpfs", platform::kDriveRamDisk},
        {{"nfs4", 0, "", "", 0}, "nfs4", platform::kDriveRemote},
        {{"cifs", 0, "", "", 0}, "cifs", platform::kDriveRemote},
        {{"fuse.sshfs", 0, "", "", 0}, "sshfs", platform::kDriveRemote},
        {{"iso9660", 0, "", "", 0, true}, "CDFS", platform::kDriveCdRom},
        {{"udf", 0, "", "", 0}, "UDF", platform::kDriveCdRom},
        // Missing from the mount table: the magic number tells.
        {{"", 0x4D44, "", "", 70000}, "FAT32", platform::kDriveFixed},
        {{"", kTmpfsMagic, "", "", 0}, "tmpfs", platform::kDriveRamDisk},
        {{"", 0x12345678, "", "", 0}, "unknown", platform::kDriveFixed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::FileSystemName(c.facts), c.name) << c.facts.mountType;
        EXPECT_EQ(platform::DriveTypeOf(c.facts), c.type) << c.facts.mountType;
    }
    EXPECT_EQ(platform::ObjectTypeOf(platform::kDriveRamDisk), platform::kObjectRamDisk);
    EXPECT_EQ(platform::ObjectTypeOf(platform::kDriveRemovable), platform::kObjectRemovable);
    EXPECT_EQ(platform::ObjectTypeOf(platform::kDriveNoRootDir), platform::kObjectUnknown);
}

std::uint64_t MagicOf(const std::string& native) {
    struct statfs fs {};
    return ::statfs(native.c_str(), &fs) == 0 ? static_cast<std::uint64_t>(fs.f_type) : 0;
}

TEST(PosixDriveInfo, TemporaryDrivesReportTheirFileSystem) {
    testing_support::TempDrives drives("CD");
    std::filesystem::remove(drives.Root('D'));  // D: has lost its medium
    auto& info = platform::Drive();

    EXPECT_EQ(info.LogicalDriveMask(), 0b1100u);
    platform::DriveObject c;
    ASSERT_EQ(info.GetDrive("C:", c), 0);
    EXPECT_NE(c.fileSystem, "unknown");
    EXPECT_GT(c.totalSize, 0);
    if (MagicOf(drives.Root('C')) == 0xEF53) {
        EXPECT_EQ(c.fileSystem.rfind("ext", 0), 0u);
    }

    // The cluster is the file system's own block, however it is split.
    struct statvfs vfs {};
    ASSERT_EQ(::statvfs(drives.Root('C').c_str(), &vfs), 0);
    auto geometry = info.DiskFreeSpace("C:\\");
    ASSERT_TRUE(geometry);
    EXPECT_EQ(std::uint64_t(geometry->sectorsPerCluster) * geometry->bytesPerSector, vfs.f_frsize);

    platform::DriveObject d;
    EXPECT_EQ(info.GetDrive("D:", d), platform::kErrorDiskNotReady);
    EXPECT_EQ(info.DriveType("D:\\"), platform::kDriveNoRootDir);
    EXPECT_FALSE(info.DiskFreeSpaceExFor("D:"));
    EXPECT_EQ(info.GetDrive("E:", d), platform::kErrorDeviceUnavailable);

    // Through the drive procedures.
    double freeBytes = 0;
    double totalBytes = 0;
    ASSERT_EQ(GetDiskSpace("C:", freeBytes, totalBytes), 0);
    EXPECT_EQ(totalBytes, double(vfs.f_blocks) * vfs.f_frsize);
    EXPECT_LE(freeBytes, totalBytes);
    EstimateClusterSize("c");
    EXPECT_EQ(strDiskFileSystem, c.fileSystem);
    EXPECT_EQ(dblDiskTotalBytes, totalBytes);
    EXPECT_TRUE(DriveIsReady("C:\\"));
    EXPECT_FALSE(DriveIsReady("D:\\"));
    EXPECT_FALSE(DriveIsReady("E:\\"));
}

TEST(PosixDriveInfo, SharedMemoryIsARamDisk) {
    if (MagicOf("/dev/shm") != kTmpfsMagic) GTEST_SKIP() << "no tmpfs at /dev/shm";
    std::string folder = "/dev/shm/kestrane-ram-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    platform::DriveTable saved = platform::Drives();
    platform::DriveTable table;
    table.Map('R', folder);
    platform::SetDrives(table);

    platform::DriveObject r;
    EXPECT_EQ(platform::Drive().GetDrive("R:", r), 0);
    EXPECT_EQ(r.fileSystem, "tmpfs");
    EXPECT_EQ(r.driveType, platform::kObjectRamDisk);
    EXPECT_EQ(platform::Drive().DriveType("R:\\x"), platform::kDriveRamDisk);
    EXPECT_EQ(FirstFixedDrive(), "");

    platform::SetDrives(saved);
    std::filesystem::remove(folder);
}

}  // namespace
