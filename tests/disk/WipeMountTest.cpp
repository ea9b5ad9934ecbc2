// Whole wipes of small real file systems mounted as drive D (needs root):
// a tmpfs with another file system mounted inside, a wipe cancelled after
// its fill, ext4 (1 KiB blocks, 4 KiB blocks, bigalloc) and btrfs images
// whose raw bytes must hold none of the data deleted or truncated before
// the wipe and all of the excluded folder's, and the report of a wipe that
// meets files it cannot purge.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "disk/DiskProc.h"
#include "tests/testsupport/MountSupport.h"
#include "tests/disk/WipeTestSupport.h"

using testing_support::Mount;
using testing_support::ReadNative;
using testing_support::Shell;
using ui::Answer;

namespace {

std::string Marker(int which) { return testing_support::Marker("wipe", which, 32 << 10); }

// How many bytes of the given markers a raw image still holds.
std::size_t MarkerBytesIn(const std::string& raw, std::initializer_list<int> markers) {
    std::size_t bytes = 0;
    for (int i : markers) {
        const std::string unit = testing_support::Marker("wipe", i, 1);
        for (auto at = raw.find(unit); at != std::string::npos; at = raw.find(unit, at + 1)) {
            bytes += unit.size();
        }
    }
    return bytes;
}

unsigned long long FreeBlocks(const std::string& folder) {
    struct statvfs facts {};
    return ::statvfs(folder.c_str(), &facts) == 0 ? facts.f_bfree : 0;
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Sets or clears an inode flag of the file (immutable, append-only); false
// where the file system does not keep it.
bool SetInodeFlag(const std::string& native, int flag, bool on) {
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | flag : flags & ~flag;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) ::close(fd);
    return done;
}

class WipeMount : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount file systems";
    }
    // The whole wipe, every question answered so that it goes on, one pass;
    // a copy-on-write drive adds a notice before the estimate, and the space
    // it keeps out of the fill's reach a notice during the fill.
    void WipeD(std::vector<std::string> excluded, Answer last = Answer::OK,
               bool copyOnWrite = false, bool outOfReach = false) {
        wipe.Run().SetPurgeType(0, 1);
        wipe.ChooseDrive('D');
        wipe.Exclude(std::move(excluded), false);
        wipe.Answer({Answer::No, Answer::OK});
        if (copyOnWrite) wipe.Answer({Answer::OK});
        wipe.Answer({Answer::OK, Answer::OK});
        if (copyOnWrite || outOfReach) wipe.Answer({Answer::OK});
        wipe.Answer({last});
        wipe.Wipe();
    }
    std::string D() { return wipe.Drives().Root('D'); }
    // The bytes the fill's notice said were out of its reach; 0 when none.
    double UnreachedBytesNoticed() {
        for (const auto& box : wipe.Ui().Boxes()) {
            const auto at = box.text.find("keeps ");
            if (box.title != "Fill disk" || at == std::string::npos) continue;
            std::string digits;
            for (std::size_t i = at + 6; i < box.text.size() && box.text[i] != ' '; ++i) {
                if (box.text[i] != ',') digits += box.text[i];
            }
            return std::stod(digits);
        }
        return 0;
    }

    disk_testing::WipeProgram wipe{false};
};

TEST_F(WipeMount, AWipeOfATmpfsLeavesTheExcludedFilesAndTheFileSystemInsideIt) {
    Mount drive("tmpfs", "-t tmpfs -o size=4m", D());
    ASSERT_TRUE(drive.Mounted());
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\a.dat", Marker(1));
    drives.WriteFile("D:\\deep\\er\\b.dat", Marker(2));
    drives.WriteFile("D:\\keep\\k.dat", Marker(3));
    drives.MakeFolder("D:\\inner");
    Mount inner("tmpfs", "-t tmpfs -o size=1m", drives.Native("D:\\inner"));
    ASSERT_TRUE(inner.Mounted());
    drives.WriteFile("D:\\inner\\other.dat", Marker(4));

    WipeD({"D:\\keep"});

    EXPECT_EQ(NamesIn(D()), (std::vector<std::string>{"inner", "keep"}));
    EXPECT_EQ(drives.ReadFile("D:\\keep\\k.dat"), Marker(3));
    EXPECT_EQ(drives.ReadFile("D:\\inner\\other.dat"), Marker(4));
    EXPECT_NE(wipe.Run().Report().ReportText().find("is on another file system"), std::string::npos)
        << wipe.Run().Report().ReportText();
}

TEST_F(WipeMount, AWipeCancelledAfterItsFillGivesBackTheFreeSpace) {
    Mount drive("tmpfs", "-t tmpfs -o size=4m", D());
    ASSERT_TRUE(drive.Mounted());
    wipe.Drives().WriteFile("D:\\a.dat", Marker(1));
    const auto before = FreeBlocks(D());
    WipeD({}, Answer::Cancel);
    EXPECT_FALSE(wipe.Drives().Exists("D:\\dummy1"));
    EXPECT_EQ(FreeBlocks(D()), before);
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\a.dat"), Marker(1));
}

// A file system made on a small sparse image: how to make it, and how big.
struct RawImage {
    const char* name;
    const char* mkfs;  // the image's path is appended
    unsigned mebibytes;
    std::int32_t cluster;  // what the drive must report, 0: not checked
    bool copyOnWrite = false;
    // The file system keeps space the fill cannot reach, and says so.
    bool keepsSpaceOutOfReach = false;
};

void PrintTo(const RawImage& fs, std::ostream* out) { *out << fs.name; }

class WipeRawImage : public WipeMount, public ::testing::WithParamInterface<RawImage> {};

// Data deleted before the wipe, and the tail of a file truncated before it,
// lie in the free space (or, with bigalloc, in the slack of the truncated
// file's cluster); the wipe must leave none of either in the raw image, and
// the excluded folder's data whole.
TEST_P(WipeRawImage, DataDeletedBeforeTheWipeIsGoneFromTheRawImageAndExcludedDataStays) {
    const RawImage& fs = GetParam();
    const std::string image = wipe.Drives().Native("C:\\disk.img");
    wipe.Run().WriteSparseFile("C:\\disk.img", std::uint64_t(fs.mebibytes) << 20);
    if (!Shell(std::string(fs.mkfs) + " '" + image + "' >/dev/null 2>&1")) {
        GTEST_SKIP() << "cannot make " << fs.name << " here";
    }
    auto drive = std::make_unique<Mount>("'" + image + "'", "-o loop", D());
    if (!drive->Mounted()) GTEST_SKIP() << "cannot mount " << fs.name << " here";
    if (fs.cluster != 0) {
        EXPECT_EQ(EstimateClusterSize("D:"), fs.cluster);
    }

    auto& drives = wipe.Drives();
    for (int i = 0; i < 4; ++i) drives.WriteFile("D:\\old\\f" + std::to_string(i), Marker(i));
    const std::string truncated = testing_support::Marker("wipe", 20, 60000).substr(0, 60000);
    drives.WriteFile("D:\\short", truncated);
    drives.WriteFile("D:\\keep\\k1", Marker(8));
    drives.WriteFile("D:\\keep\\sub\\k2", Marker(9));
    // Deleted data in holes of one cluster between kept files: a fill's
    // file there takes many runs, and with them an extent tree.
    for (int i = 0; i < 24; ++i) {
        drives.WriteFile(i % 2 ? "D:\\keep\\between" + std::to_string(i)
                               : "D:\\old\\between" + std::to_string(i),
                         Marker(i % 2 ? 9 : i / 2 % 4));
        ::sync();
    }
    ::sync();
    ASSERT_TRUE(Shell("rm -r '" + drives.Native("D:\\old") + "'"));
    ASSERT_TRUE(Shell("truncate -s 100 '" + drives.Native("D:\\short") + "'"));
    ::sync();
    // The deleted data is really there to be found before the wipe.
    const std::string before = ReadNative(image);
    for (int i : {0, 1, 2, 3, 20}) {
        ASSERT_NE(before.find(testing_support::Marker("wipe", i, 64)), std::string::npos)
            << "marker " << i;
    }

    WipeD({"D:\\keep"}, Answer::OK, fs.copyOnWrite, fs.keepsSpaceOutOfReach);
    const std::string& report = wipe.Run().Report().ReportText();
    EXPECT_EQ(report.find("Number of files purged: 0"), std::string::npos) << report;
    EXPECT_EQ(report.find("NOT purged"), std::string::npos) << report;
    EXPECT_EQ(drives.ReadFile("D:\\keep\\k1"), Marker(8));
    EXPECT_FALSE(drives.Exists("D:\\short"));
    EXPECT_FALSE(drives.Exists("D:\\dummy1"));
    ASSERT_TRUE(drive->Unmount()) << "the wiped drive is still busy";

    const std::string raw = ReadNative(image);
    if (fs.keepsSpaceOutOfReach) {
        // Each group keeps its last few blocks from every file, and which
        // ones stay free is the file system's choice: what survives must lie
        // within the space the fill said it could not reach.
        const double unreached = UnreachedBytesNoticed();
        EXPECT_GT(unreached, 0);
        EXPECT_LE(double(MarkerBytesIn(raw, {0, 1, 2, 3, 20})), unreached);
    } else {
        std::set<std::size_t> clustersWithOldData;
        for (int i : {0, 1, 2, 3, 20}) {
            const std::string marker = testing_support::Marker("wipe", i, 64);
            for (auto at = raw.find(marker); at != std::string::npos;
                 at = raw.find(marker, at + 1)) {
                clustersWithOldData.insert(at / std::size_t(fs.cluster != 0 ? fs.cluster : 4096));
            }
        }
        EXPECT_TRUE(clustersWithOldData.empty())
            << clustersWithOldData.size() << " clusters of deleted data left\n"
            << report;
    }
    EXPECT_NE(raw.find(Marker(8).substr(0, 64)), std::string::npos);
    EXPECT_NE(raw.find(Marker(9).substr(0, 64)), std::string::npos);
}

// mke2fs gives 1 KiB blocks below 512 MB; bigalloc clusters of 64 KiB; a
// btrfs copies on write (in its own data chunks: mixed with metadata, the
// space kept for metadata is out of the fill's reach). Each is as small as
// its mkfs allows. XFS lowers its reserve pool for the fill; without the
// reverse-mapping and reference-count trees no group keeps space of its own
// that the fill cannot reach.
INSTANTIATE_TEST_SUITE_P(
    FileSystems, WipeRawImage,
    ::testing::Values(
        RawImage{"Ext4With1KiBBlocks", "mkfs.ext4 -q -F -b 1024", 16, 1024},
        RawImage{"Ext4With4KiBBlocks", "mkfs.ext4 -q -F -b 4096", 32, 4096},
        RawImage{"Ext4Bigalloc", "mkfs.ext4 -q -F -b 4096 -O bigalloc -C 65536", 64, 65536},
        RawImage{"Btrfs", "mkfs.btrfs -q -f", 128, 4096, true},
        RawImage{"Xfs", "mkfs.xfs -q -f -m reflink=0,rmapbt=0", 300, 4096, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A wipe's report shows folder names only, yet each file it could not purge
// is named with its reason, and no two of its messages share a line. The
// fill is counted here, not written.
TEST(WipeReport, EveryFileNotPurgedIsNamedOnALineOfItsOwn) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount file systems";
    disk_testing::WipeProgram wipe;
    auto& drives = wipe.Drives();
    Mount drive("tmpfs", "-t tmpfs -o size=4m", drives.Root('D'));
    ASSERT_TRUE(drive.Mounted());
    wipe.Sizes().sizes['D'] = {3 << 20, 8 << 20};
    wipe.ChooseDrive('D');
    drives.WriteFile("D:\\mine\\immutable.dat", "cannot be changed");
    drives.WriteFile("D:\\mine\\appendonly.dat", "can only grow");
    drives.WriteFile("D:\\mine\\plain.dat", "purged");
    ASSERT_TRUE(std::filesystem::create_directory(drives.Native("D:\\mine") + "/bad\\name"));
    drives.WriteFile("D:\\keep\\k.dat", "kept");
    drives.MakeFolder("D:\\m");
    Mount other("tmpfs", "-t tmpfs -o size=1m", drives.Native("D:\\m"));
    ASSERT_TRUE(other.Mounted());
    if (!SetInodeFlag(drives.Native("D:\\mine\\immutable.dat"), FS_IMMUTABLE_FL, true) ||
        !SetInodeFlag(drives.Native("D:\\mine\\appendonly.dat"), FS_APPEND_FL, true)) {
        GTEST_SKIP() << "no immutable and append-only files on this tmpfs";
    }
    wipe.Exclude({"D:\\keep"}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();
    const std::string report = wipe.Run().Report().ReportText();

    EXPECT_FALSE(drives.Exists("D:\\mine\\plain.dat"));
    for (const std::string line :
         {"immutable.dat (17 bytes): unable to open file for writing.",
          "appendonly.dat (13 bytes): unable to open file for writing.",
          "D:\\mine\\bad\\name\\ has a backslash in its name, which no drive path can hold; "
          "not purged.",
          "\r\nD:\\keep\\ is an excluded folder.",
          "D:\\m\\ is on another file system; not purged."}) {
        EXPECT_NE(report.find("\n" + line + "\r\n"), std::string::npos) << line << "\n" << report;
    }
    // The fill's dummy file and plain.dat.
    EXPECT_NE(report.find("Number of files: 4\r\nNumber of files purged: 2\r\n"),
              std::string::npos)
        << report;
    SetInodeFlag(drives.Native("D:\\mine\\immutable.dat"), FS_IMMUTABLE_FL, false);
    SetInodeFlag(drives.Native("D:\\mine\\appendonly.dat"), FS_APPEND_FL, false);
}

}  // namespace
