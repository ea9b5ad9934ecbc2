#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "disk/DiskProc.h"
#include "platform/DrivePaths.h"
#include "purge/NumberFormat.h"

namespace {

using platform::ClusterGeometry;
using platform::DiskFreeSpaceEx;
using platform::DriveObject;
using platform::SplitCount;

constexpr double kMB = 1048576.0;

SplitCount SplitOf(double bytes) {
    auto value = static_cast<std::uint64_t>(bytes);
    return {static_cast<std::int32_t>(value >> 32),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(value))};
}

// Drives as a test describes them; every question is recorded.
class FakeDrives : public platform::DriveInfo {
  public:
    struct Drive {
        int type = platform::kDriveFixed;
        int objectType = platform::kObjectFixed;
        int openError = 0;
        std::string fileSystem = "NTFS";
        double objectTotal = 0;
        std::optional<DiskFreeSpaceEx> space;
        std::optional<ClusterGeometry> geometry;
    };

    FakeDrives() : self_(this, [](FakeDrives*) {}) { platform::SetDriveInfoForTesting(self_); }
    ~FakeDrives() override { platform::SetDriveInfoForTesting(nullptr); }

    Drive& operator[](char letter) { return drives_[letter]; }
    std::vector<std::string> asked;

    std::uint32_t LogicalDriveMask() override {
        asked.push_back("mask");
        std::uint32_t mask = 0;
        for (const auto& [letter, drive] : drives_) mask |= 1u << (letter - 'A');
        return mask;
    }
    int DriveType(const std::string& path) override {
        asked.push_back("type " + path);
        auto it = drives_.find(platform::DriveLetterOf(path));
        return it == drives_.end() ? platform::kDriveNoRootDir : it->second.type;
    }
    std::optional<ClusterGeometry> DiskFreeSpace(const std::string& root) override {
        asked.push_back("geometry " + root);
        auto it = drives_.find(platform::DriveLetterOf(root));
        return it == drives_.end() ? std::nullopt : it->second.geometry;
    }
    std::optional<DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) override {
        asked.push_back("space " + root);
        auto it = drives_.find(platform::DriveLetterOf(root));
        return it == drives_.end() ? std::nullopt : it->second.space;
    }
    int GetDrive(const std::string& name, DriveObject& object) override {
        asked.push_back("drive " + name);
        auto it = drives_.find(platform::DriveLetterOf(name));
        if (it == drives_.end()) return platform::kErrorDeviceUnavailable;
        if (it->second.openError != 0) return it->second.openError;
        object = DriveObject{it->first, it->second.fileSystem, it->second.objectTotal,
                             it->second.objectType, true, ""};
        return 0;
    }

    // A ready drive of the file system and size.
    void Disk(char letter, std::string fileSystem, double total) {
        Drive& d = drives_[letter];
        d.fileSystem = std::move(fileSystem);
        d.objectTotal = total;
        d.space = DiskFreeSpaceEx{SplitOf(total / 2), SplitOf(total)};
    }

  private:
    std::map<char, Drive> drives_;
    std::shared_ptr<FakeDrives> self_;
};

class DiskProcTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetNumberStyleForTesting(NumberStyle{});
        strDiskFileSystem.clear();
        dblDiskTotalBytes = 0;
    }
    void TearDown() override { SetNumberStyleForTesting(std::nullopt); }
    FakeDrives drives;
};

TEST_F(DiskProcTest, FloppyAndNonLetterDesignationsNeedNoDisk) {
    drives.Disk('A', "FAT", 1474560);
    EXPECT_EQ(EstimateClusterSize("a"), 512);
    EXPECT_EQ(EstimateClusterSize("B:"), 512);
    EXPECT_EQ(EstimateClusterSize("5:"), 4096);
    EXPECT_EQ(EstimateClusterSize(""), 4096);
    EXPECT_TRUE(drives.asked.empty());
    EXPECT_EQ(EstimateClusterSize("Q"), 4096) << "a drive that cannot be opened";
}

TEST_F(DiskProcTest, ClusterSizeTables) {
    struct {
        const char* fileSystem;
        double total;
        std::int32_t expected;
    } cases[] = {
        // FAT at 2 GB and above (below, the file system is asked first).
        {"FAT", 2048 * kMB, 65536},
        {"FAT16", 4096 * kMB, 65536},
        {"FAT32", 8192 * kMB - 1, 4096},
        {"FAT32", 8192 * kMB, 8192},  // limits of FAT32 exclude their value
        {"FAT32", 16384 * kMB, 16384},
        {"FAT32", 32768 * kMB - 1, 16384},
        {"FAT32", 32768 * kMB, 32768},
        {"NTFS", 512 * kMB, 512},  // limits of NTFS include it
        {"NTFS", 512 * kMB + 1, 1024},
        {"NTFS", 2048 * kMB, 2048},
        {"NTFS5", 4096 * kMB + 1, 8192},
        {"NTFS", 32768 * kMB, 32768},
        {"NTFS", 32768 * kMB + 1, 65536},
        {"ntfs", 512 * kMB, 4096},  // names compare exactly
        {"ext4", 100 * kMB, 4096},  // reports no cluster size
        {"exFAT", 100 * kMB, 4096},
    };
    for (const auto& c : cases) {
        drives.Disk('D', c.fileSystem, c.total);
        EXPECT_EQ(EstimateClusterSize("D:"), c.expected) << c.fileSystem << " " << c.total;
        EXPECT_EQ(strDiskFileSystem, c.fileSystem);
        EXPECT_EQ(dblDiskTotalBytes, c.total);
    }
}

TEST_F(DiskProcTest, SmallFatAsksTheFileSystemFirst) {
    // 1 GB would be 32768 by the table; the volume says 4 x 512.
    drives.Disk('E', "FAT16", 1024 * kMB);
    drives['E'].geometry = ClusterGeometry{4, 512};
    EXPECT_EQ(EstimateClusterSize("E"), 2048);
    drives.Disk('E', "VFAT", 100 * kMB);
    drives['E'].geometry = ClusterGeometry{4, 512};
    EXPECT_EQ(EstimateClusterSize("E:"), 2048);

    // 131,072 bytes is not a cluster size: the table decides.
    drives.Disk('E', "FAT", 1024 * kMB);
    drives['E'].geometry = ClusterGeometry{128, 1024};
    EXPECT_EQ(EstimateClusterSize("E:"), 32768);
    // No answer at all: the table too.
    drives.Disk('E', "FAT", 300 * kMB);
    EXPECT_EQ(EstimateClusterSize("E:"), 8192);
    drives.Disk('E', "FAT", 100 * kMB);
    EXPECT_EQ(EstimateClusterSize("E:"), 2048);
}

TEST_F(DiskProcTest, OtherFileSystemsGiveTheUnitTheyReport) {
    // A small ext4's 1 KiB blocks and bigalloc's 64 KiB clusters; the
    // tables stay for FAT32 and NTFS, whatever the volume says.
    drives.Disk('E', "ext4", 300 * kMB);
    drives['E'].geometry = ClusterGeometry{2, 512};
    EXPECT_EQ(EstimateClusterSize("E:"), 1024);
    drives['E'].geometry = ClusterGeometry{128, 512};
    EXPECT_EQ(EstimateClusterSize("E:"), 65536);
    drives['E'].geometry = ClusterGeometry{256, 512};
    EXPECT_EQ(EstimateClusterSize("E:"), 4096) << "beyond what slack purging takes";
    drives.Disk('E', "NTFS", 300 * kMB);
    drives['E'].geometry = ClusterGeometry{8, 512};
    EXPECT_EQ(EstimateClusterSize("E:"), 512);
    drives.Disk('E', "FAT32", 300 * kMB);
    drives['E'].geometry = ClusterGeometry{1, 512};
    EXPECT_EQ(EstimateClusterSize("E:"), 4096);
}

TEST_F(DiskProcTest, TotalFromTheDriveObjectWhenSpaceCannotBeRead) {
    drives.Disk('F', "FAT32", 0);
    drives['F'].objectTotal = 20000 * kMB;
    drives['F'].space.reset();
    EXPECT_EQ(EstimateClusterSize("F:"), 16384);
    EXPECT_EQ(dblDiskTotalBytes, 20000 * kMB);
}

TEST_F(DiskProcTest, QueryClusterSize) {
    drives['G'].geometry = ClusterGeometry{1, 512};
    EXPECT_EQ(QueryClusterSize("G:\\"), 512);
    drives['G'].geometry = ClusterGeometry{128, 512};
    EXPECT_EQ(QueryClusterSize("G:\\"), 65536);
    drives['G'].geometry = ClusterGeometry{1, 256};
    EXPECT_EQ(QueryClusterSize("G:\\"), -2);
    drives['G'].geometry = ClusterGeometry{0x10000, 0x10000};  // would overflow 32 bits
    EXPECT_EQ(QueryClusterSize("G:\\"), -2);
    drives['G'].geometry.reset();
    EXPECT_EQ(QueryClusterSize("G:\\"), -1);
    EXPECT_EQ(drives.asked.back(), "geometry G:\\") << "passed on unchanged";
}

TEST_F(DiskProcTest, GetDiskSpaceReadsBothHalvesUnsigned) {
    drives['H'].space = DiskFreeSpaceEx{SplitCount{0, INT32_MIN}, SplitCount{1, -1}};
    double freeBytes = -5;
    double totalBytes = -5;
    ASSERT_EQ(GetDiskSpace("H:\\Some\\Folder", freeBytes, totalBytes), 0);
    EXPECT_EQ(freeBytes, 2147483648.0);
    EXPECT_EQ(totalBytes, 8589934591.0);
    EXPECT_EQ(drives.asked.back(), "space h:");

    drives['H'].space.reset();
    freeBytes = 7;
    totalBytes = 8;
    EXPECT_EQ(GetDiskSpace("H:", freeBytes, totalBytes), -1);
    EXPECT_EQ(freeBytes, 7);
    EXPECT_EQ(totalBytes, 8);
}

TEST_F(DiskProcTest, ExistenceReadinessAndTheFirstFixedDrive) {
    EXPECT_EQ(FirstFixedDrive(), "");
    drives['A'].type = platform::kDriveRemovable;
    drives['A'].objectType = platform::kObjectRemovable;
    drives['C'].openError = platform::kErrorDiskNotReady;
    drives['D'].objectType = platform::kObjectFixed;
    drives['E'].objectType = platform::kObjectFixed;
    EXPECT_EQ(FirstFixedDrive(), "D:");

    EXPECT_TRUE(DriveExists("d"));
    EXPECT_TRUE(DriveExists("A:\\x"));
    EXPECT_FALSE(DriveExists("B:"));
    EXPECT_FALSE(DriveExists("1:"));
    EXPECT_FALSE(DriveExists(""));

    // A removable drive is ready only with a medium to read.
    EXPECT_FALSE(DriveIsReady("A:\\"));
    drives['A'].space = DiskFreeSpaceEx{};
    EXPECT_TRUE(DriveIsReady("A:\\"));
    // Fixed drives and RAM disks are taken as ready without reading them.
    drives['R'].type = platform::kDriveRamDisk;
    drives.asked.clear();
    EXPECT_TRUE(DriveIsReady("R:\\"));
    EXPECT_TRUE(DriveIsReady("D:\\folder"));
    EXPECT_EQ(drives.asked.size(), 2u);
    EXPECT_FALSE(DriveIsReady("Z:\\"));
}

TEST_F(DiskProcTest, OpenDriveObjectNamesTheDriveOfAPath) {
    drives.Disk('C', "NTFS", 1e9);
    DriveObject object;
    EXPECT_EQ(OpenDriveObject("c:\\Users\\x.txt", object), 0);
    EXPECT_EQ(drives.asked.back(), "drive C:");
    EXPECT_EQ(object.fileSystem, "NTFS");
    drives['C'].openError = platform::kErrorDiskNotReady;
    EXPECT_EQ(OpenDriveObject("C:", object), platform::kErrorDiskNotReady);
    EXPECT_EQ(OpenDriveObject("W:\\", object), platform::kErrorDeviceUnavailable);
}

TEST_F(DiskProcTest, SpaceSentences) {
    EXPECT_EQ(DriveFreeSpaceText("D", 1048575), "Drive D has 1,048,575 bytes free.");
    EXPECT_EQ(DriveFreeSpaceText("D", 1048576), "Drive D has 1,048,576 bytes (1.000 MB) free.");
    EXPECT_EQ(DriveFreeSpaceText("D", 5242880), "Drive D has 5,242,880 bytes (5.000 MB) free.");
    EXPECT_EQ(DiskCapacityText("D", 999999999),
              "The capacity of the disk in Drive D is 999,999,999 bytes .");
    EXPECT_EQ(DiskCapacityText("D", 1e9),
              "The capacity of the disk in Drive D is 1,000,000,000 bytes (0.931 GB) .");
    EXPECT_EQ(DiskCapacityText("D", 40e9),
              "The capacity of the disk in Drive D is 40,000,000,000 bytes (37.253 GB) .");

    NumberStyle german;
    german.thousandsSeparator = ".";
    german.decimalSeparator = ",";
    SetNumberStyleForTesting(german);
    EXPECT_EQ(DriveFreeSpaceText("D", 5242880), "Drive D has 5.242.880 bytes (5,000 MB) free.");
}

}  // namespace
