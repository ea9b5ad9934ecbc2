// PurgeFile: the read-only and cluster-size rules, what reaches the library,
// and one purge through the real library.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/DriveInfo.h"
#include "platform/FileSystem.h"
#include "purge/FileProc.h"
#include "tests/testsupport/TempDrive.h"

namespace {

// Drive C: with a chosen file system; FAT below 2 GB reports its geometry.
class FakeDrive : public platform::DriveInfo {
  public:
    FakeDrive(std::string fileSystem, double totalBytes, std::uint32_t bytesPerSector)
        : fileSystem_(std::move(fileSystem)), total_(totalBytes), bytesPerSector_(bytesPerSector) {}
    std::uint32_t LogicalDriveMask() override { return 1u << 2; }
    int DriveType(const std::string&) override { return platform::kDriveFixed; }
    std::optional<platform::ClusterGeometry> DiskFreeSpace(const std::string&) override {
        return platform::ClusterGeometry{1, bytesPerSector_};
    }
    std::optional<platform::DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string&) override {
        return std::nullopt;
    }
    int GetDrive(const std::string&, platform::DriveObject& drive) override {
        drive = {'C', fileSystem_, total_, platform::kObjectFixed, true, ""};
        return 0;
    }

  private:
    std::string fileSystem_;
    double total_;
    std::uint32_t bytesPerSector_;
};

struct Call {
    std::string name;
    std::uint64_t inode;
    std::int32_t type, passes, deleteIt, run, slack, cluster;
    bool readOnlyAtCall;
};

class FileProcTest : public testing::Test {
  protected:
    void SetUp() override {
        drives.WriteFile("C:\\docs\\plan.txt", "plan");
        SetPurgeLibraryForTesting([this](const PurgeLibraryRequest& r, std::int32_t& seconds) {
            calls.push_back({r.name, r.inode, r.purgeType, r.passes, r.deleteWhenDone, r.runFlag,
                             r.purgeSlack, r.clusterSize,
                             platform::Files().Attributes(kPath)->readOnly});
            seconds = 3;
            return libraryResult;
        });
        platform::SetDriveInfoForTesting(std::make_shared<FakeDrive>("NTFS", 3e9, 512));
    }
    void TearDown() override {
        SetPurgeLibraryForTesting(nullptr);
        platform::SetDriveInfoForTesting(nullptr);
    }
    bool Purge(bool readOnlyOK, bool slack, std::int32_t cluster) {
        return PurgeFile(kPath, 2, 1, true, false, readOnlyOK, slack, cluster, code, &seconds);
    }
    bool ReadOnly() { return platform::Files().Attributes(kPath)->readOnly; }

    static constexpr const char* kPath = "C:\\docs\\plan.txt";
    testing_support::TempDrives drives;
    std::vector<Call> calls;
    std::int32_t libraryResult = 0;
    std::int16_t code = 99;
    std::int32_t seconds = 0;
};

TEST_F(FileProcTest, AReadOnlyFileIsRefusedOrClearedForGood) {
    ASSERT_TRUE(platform::Files().SetReadOnly(kPath, true));
    EXPECT_FALSE(Purge(false, false, 0));
    EXPECT_EQ(code, -53);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(ReadOnly());

    libraryResult = -3;  // the purge fails: the attribute stays cleared all the same
    EXPECT_FALSE(Purge(true, false, 0));
    EXPECT_EQ(code, -3);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].readOnlyAtCall);
    EXPECT_FALSE(ReadOnly());
}

TEST_F(FileProcTest, TheLibraryGetsTheArgumentsAndAUsableClusterSize) {
    EXPECT_TRUE(Purge(false, true, 0));  // NTFS of 3 GB: 4096
    EXPECT_TRUE(Purge(false, true, 8192));
    EXPECT_TRUE(Purge(false, true, 1000));  // 512 or more goes on as it is
    EXPECT_TRUE(Purge(false, false, 4096));
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "plan.txt");
    EXPECT_EQ(calls[0].inode, platform::Files().Look(kPath)->identity.inode);
    EXPECT_EQ((std::vector<std::int32_t>{calls[0].type, calls[0].passes, calls[0].deleteIt,
                                         calls[0].run, calls[0].slack}),
              (std::vector<std::int32_t>{2, 1, 1, 0, 1}));
    EXPECT_EQ(calls[0].cluster, 4096);
    EXPECT_EQ(calls[1].cluster, 8192);
    EXPECT_EQ(calls[2].cluster, 1000);
    EXPECT_EQ(calls[3].cluster, -1);
    EXPECT_EQ(calls[3].slack, 0);
    EXPECT_EQ(seconds, 3);

    // A FAT drive whose sectors make a cluster of 600 bytes: no usable size.
    platform::SetDriveInfoForTesting(std::make_shared<FakeDrive>("FAT", 1e9, 600));
    EXPECT_FALSE(Purge(false, true, -1));
    EXPECT_EQ(code, -9);
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(FileProcTest, TheResultCodeIsTheLow16BitsOfTheLibrarys) {
    libraryResult = 65536 + 5;
    EXPECT_TRUE(Purge(false, false, 0));
    EXPECT_EQ(code, 5);
    libraryResult = -65536 - 4;
    EXPECT_FALSE(Purge(false, false, 0));
    EXPECT_EQ(code, -4);
}

TEST_F(FileProcTest, PurgesThroughTheRealLibrary) {
    SetPurgeLibraryForTesting(nullptr);
    std::int32_t realSeconds = -1;
    ASSERT_TRUE(PurgeFile(kPath, 1, 1, true, true, false, true, 4096, code, &realSeconds));
    EXPECT_EQ(code, 0);
    // Whole seconds of the clock: a tiny file may still cross a tick.
    EXPECT_GE(realSeconds, 0);
    EXPECT_LE(realSeconds, 5);
    EXPECT_FALSE(drives.Exists(kPath));
}

}  // namespace
