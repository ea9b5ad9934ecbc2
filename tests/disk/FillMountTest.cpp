// The fill on real, small file systems (needs root to mount them): a tmpfs
// and an ext4 image end full to their last block, a link planted as a dummy
// file's name is not followed, and the reserves of ext4 and XFS are lowered
// for the fill and restored, and only ever raised by a record; on bigalloc,
// a fill whose files own no metadata leaves no cluster unwritten.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "disk/DiskProc.h"
#include "disk/frmFillDisk.h"
#include "platform/FileSystem.h"
#include "platform/ReservedSpace.h"
#include "tests/testsupport/MountSupport.h"
#include "tests/purge/RunTestSupport.h"

namespace {

using testing_support::Mount;
using testing_support::Shell;

// True when not even one more block can be written to the folder's disk.
bool FullToTheLastBlock(const std::string& folder) {
    std::string probe = folder + "/probe";
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return errno == ENOSPC;
    char block[512] = {};
    bool refused = ::write(fd, block, sizeof block) < 0 && errno == ENOSPC;
    if (!refused) refused = ::fsync(fd) != 0;
    ::close(fd);
    ::unlink(probe.c_str());
    return refused;
}

// A reserve's record is six words; the fifth is the reserve it restores.
constexpr std::size_t kReserveField = 4;

std::vector<std::string> RecordFields(const std::string& record) {
    std::istringstream fields(record);
    return {std::istream_iterator<std::string>(fields), {}};
}

std::string RecordField(const std::string& record, std::size_t i) {
    const auto parts = RecordFields(record);
    return parts.size() == 6 ? parts[i] : "(not a record: " + record + ")";
}

// The record as someone else might have altered it: another reserve.
std::string WithReserve(const std::string& record, const std::string& reserve) {
    auto parts = RecordFields(record);
    parts.at(kReserveField) = reserve;
    std::string altered;
    for (const auto& part : parts) altered += (altered.empty() ? "" : " ") + part;
    return altered;
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

class FillMount : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system";
        run.Ui().OnModal("frmFillDisk", [](ui::Form&) {});
    }
    // Fills drive D: with the free space the drive dialog would report.
    void FillD() {
        double free = 0, total = 0;
        ASSERT_EQ(GetDiskSpace("D:", free, total), 0);
        auto& fill = run.Windows().FillDisk();
        fill.blnFillDisk = true;
        fill.strDrive = "D:";
        fill.dblFreeSpace = free;
        fill.ShowModal();
    }

    run_testing::RunProgram run{"CD"};
};

TEST_F(FillMount, ATmpfsEndsFullToItsLastBlockAndAPlantedLinkIsNotFollowed) {
    Mount mount("tmpfs", "-t tmpfs -o size=3m", run.Drives().Root('D'));
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    run.Drives().WriteFile("C:\\victim.txt", "keep me");
    run.MakeLink("D:\\dummy1", run.Drives().Native("C:\\victim.txt"));
    FillD();
    EXPECT_EQ(run.Drives().ReadFile("C:\\victim.txt"), "keep me");
    EXPECT_TRUE(std::filesystem::is_symlink(run.Drives().Native("D:\\dummy1")));
    EXPECT_EQ(std::filesystem::file_size(run.Drives().Native("D:\\dummy2")), 3u << 20);
    EXPECT_TRUE(FullToTheLastBlock(run.Drives().Root('D')));
    EXPECT_TRUE(run.Ui().Boxes().empty()) << run.Ui().LastBox().text;
}

TEST_F(FillMount, AnExt4ImageIsFilledPastItsReserveWhichIsThenRestored) {
    const std::string image = run.Drives().Native("C:\\disk.img");
    run.WriteSparseFile("C:\\disk.img", 64u << 20);
    if (!Shell("mkfs.ext4 -q -F '" + image + "'")) GTEST_SKIP() << "no mkfs.ext4";
    Mount mount("'" + image + "'", "-o loop", run.Drives().Root('D'));
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a loop device here";
    struct stat root {};
    ASSERT_EQ(::stat(run.Drives().Root('D').c_str(), &root), 0);
    std::string device =
        std::filesystem::read_symlink("/sys/dev/block/" + std::to_string(major(root.st_dev)) + ":" +
                                      std::to_string(minor(root.st_dev)))
            .filename();
    const std::string control = "/sys/fs/ext4/" + device + "/reserved_clusters";
    const std::string before = FirstLine(control);
    ASSERT_NE(before, "0");

    FillD();
    EXPECT_EQ(FirstLine(control), before);
    EXPECT_TRUE(FullToTheLastBlock(run.Drives().Root('D')));
    struct statvfs space {};
    ASSERT_EQ(::statvfs(run.Drives().Root('D').c_str(), &space), 0);
    EXPECT_EQ(run.Windows().FillDisk().dblUnreachedBytes, double(space.f_bfree * space.f_frsize));
    RecordProperty("unreached_bytes", std::to_string(space.f_bfree * space.f_frsize));

    // A record may have been altered since it was written: one that names a
    // lower reserve does not lower it, one that names the old reserve
    // raises a lowered one back.
    auto reserves = platform::MakePosixReservedSpace();
    auto folder = platform::Files().OpenFolder("D:\\");
    ASSERT_TRUE(folder);
    auto record = reserves->Describe(*folder);
    ASSERT_TRUE(record);
    ASSERT_EQ(RecordField(*record, kReserveField), before);
    EXPECT_TRUE(reserves->Restore(WithReserve(*record, "0")));
    EXPECT_EQ(FirstLine(control), before);
    ASSERT_TRUE(Shell("echo 0 > " + control));
    EXPECT_TRUE(reserves->Restore(*record));
    EXPECT_EQ(FirstLine(control), before);

    // Lowered, the reserve is given in bytes: its clusters are 1 KiB blocks
    // on a file system this small.
    EXPECT_EQ(reserves->Lower(*record), std::stoull(before) * 1024u);
    EXPECT_EQ(FirstLine(control), "0");
    EXPECT_TRUE(reserves->Restore(*record));
    EXPECT_EQ(FirstLine(control), before);
}

// This thread without the right to use the blocks a file system keeps for
// the administrator, as an ordinary user's fill would be, while it lasts.
class AsAnOrdinaryUser {
  public:
    AsAnOrdinaryUser() {
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[CAP_SYS_RESOURCE / 32].effective &= ~(1u << (CAP_SYS_RESOURCE % 32));
        dropped_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~AsAnOrdinaryUser() {
        if (dropped_) ::syscall(SYS_capset, &header_, saved_);
    }
    AsAnOrdinaryUser(const AsAnOrdinaryUser&) = delete;
    AsAnOrdinaryUser& operator=(const AsAnOrdinaryUser&) = delete;
    bool Dropped() const { return dropped_; }

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool dropped_ = false;
};

// What ext4 keeps for the administrator stays out of an ordinary user's
// reach, and the notice counts it with the rest of the free space.
TEST_F(FillMount, BlocksKeptForTheAdministratorAreReportedOutOfAnOrdinaryUsersReach) {
    const std::string image = run.Drives().Native("C:\\disk.img");
    run.WriteSparseFile("C:\\disk.img", 64u << 20);
    if (!Shell("mkfs.ext4 -q -F -m 5 '" + image + "'")) GTEST_SKIP() << "no mkfs.ext4";
    // Kept for another user and group than root's, so only the right given
    // up below would reach them.
    Mount mount("'" + image + "'", "-o loop,resuid=12345,resgid=12345", run.Drives().Root('D'));
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a loop device here";
    {
        const AsAnOrdinaryUser user;
        if (!user.Dropped()) GTEST_SKIP() << "cannot give up the administrator's blocks";
        FillD();
    }
    struct statvfs space {};
    ASSERT_EQ(::statvfs(run.Drives().Root('D').c_str(), &space), 0);
    ASSERT_GT(space.f_bfree, 0u);
    EXPECT_EQ(run.Windows().FillDisk().dblUnreachedBytes, double(space.f_bfree * space.f_frsize));
}

// The size of an XFS mount's reserve pool as xfs_io shows it; "" when it
// cannot tell.
std::string XfsPool(const std::string& folder) {
    std::string out = testing_support::ShellOutput("xfs_io -x -c resblks '" + folder + "'");
    const std::string label = "reserved blocks = ";
    const auto at = out.find(label);
    if (at == std::string::npos) return "";
    return out.substr(at + label.size(), out.find('\n', at) - at - label.size());
}

// XFS's reserve pool is lowered for the fill, which then reaches the space
// the pool held, and raised back afterwards; what the groups keep for their
// own metadata is reported as out of reach, as much as there really is.
TEST_F(FillMount, AnXfsImageIsFilledPastItsPoolWhichIsThenRestored) {
    const std::string image = run.Drives().Native("C:\\disk.img");
    run.WriteSparseFile("C:\\disk.img", 300u << 20);
    if (!Shell("mkfs.xfs -q -f '" + image + "' >/dev/null 2>&1")) GTEST_SKIP() << "no mkfs.xfs";
    Mount mount("'" + image + "'", "-o loop", run.Drives().Root('D'));
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount XFS here";
    const std::string D = run.Drives().Root('D');
    const std::string before = XfsPool(D);
    ASSERT_NE(before, "");
    ASSERT_NE(before, "0");

    double freeBefore = 0, total = 0;
    ASSERT_EQ(GetDiskSpace("D:", freeBefore, total), 0);
    FillD();
    EXPECT_EQ(XfsPool(D), before);
    EXPECT_TRUE(FullToTheLastBlock(D));
    // The pool's blocks were reached: the dummy files hold more than the
    // free space the drive showed with the pool in place.
    double written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(D)) {
        if (entry.path().filename().string().rfind("dummy", 0) == 0) written += entry.file_size();
    }
    EXPECT_GT(written, freeBefore + std::stod(before) * 4096 / 2);
    const double unreached = run.Windows().FillDisk().dblUnreachedBytes;
    RecordProperty("unreached_bytes", std::to_string(std::uint64_t(unreached)));

    auto reserves = platform::MakePosixReservedSpace();
    {
        auto folder = platform::Files().OpenFolder("D:\\");
        ASSERT_TRUE(folder);
        auto record = reserves->Describe(*folder);
        ASSERT_TRUE(record);
        ASSERT_EQ(RecordField(*record, 0), "xfs");
        ASSERT_EQ(RecordField(*record, kReserveField), before);
        EXPECT_TRUE(reserves->Restore(WithReserve(*record, "0")));
        EXPECT_EQ(XfsPool(D), before);
        ASSERT_TRUE(Shell("xfs_io -x -c 'resblks 0' '" + D + "' >/dev/null"));
        ASSERT_EQ(XfsPool(D), "0");
        EXPECT_TRUE(reserves->Restore(*record));
        EXPECT_EQ(XfsPool(D), before);
    }

    // The dummy files stay: what the file system's free-space trees hold
    // now is what the fill could not reach, and the notice must say as much
    // (statfs shows only a few blocks of it).
    const std::string freesp =
        testing_support::ShellOutput("xfs_spaceman -c 'freesp -s' '" + D + "'");
    const std::string label = "total free blocks ";
    const auto at = freesp.find(label);
    if (at == std::string::npos) GTEST_SKIP() << "xfs_spaceman cannot map the free space here";
    const double freeBlocks = std::stod(freesp.substr(at + label.size()));
    struct statvfs space {};
    ASSERT_EQ(::statvfs(D.c_str(), &space), 0);
    EXPECT_GT(unreached, double(space.f_bfree * space.f_frsize));
    EXPECT_EQ(unreached, freeBlocks * 4096) << freesp;
}

// Clusters charged to the file beyond those its data fills: its metadata.
std::uint64_t ClustersBeyondData(const std::string& native, std::uint64_t cluster) {
    struct stat file {};
    if (::stat(native.c_str(), &file) != 0) return 0;
    const std::uint64_t charged = std::uint64_t(file.st_blocks) * 512 / cluster;
    const std::uint64_t data = (std::uint64_t(file.st_size) + cluster - 1) / cluster;
    return charged > data ? charged - data : 0;
}

// On bigalloc a block of metadata takes a whole cluster and nothing writes
// the rest of it. Deleted data lies in holes of one cluster between kept
// files, so a fill's file takes many runs: a plain fill gets an extent tree
// whose cluster keeps old data, a fill whose files own no metadata gets none
// and, deleted, leaves no deleted data anywhere.
TEST_F(FillMount, OnBigallocAFillOwningNoMetadataWritesEveryClusterItTakes) {
    constexpr std::uint64_t kCluster = 65536;
    const std::string image = run.Drives().Native("C:\\disk.img");
    run.WriteSparseFile("C:\\disk.img", 64u << 20);
    if (!Shell("mkfs.ext4 -q -F -b 4096 -O bigalloc -C 65536 '" + image + "'")) {
        GTEST_SKIP() << "no bigalloc here";
    }
    auto mount = std::make_unique<Mount>("'" + image + "'", "-o loop", run.Drives().Root('D'));
    if (!mount->Mounted()) GTEST_SKIP() << "cannot mount a loop device here";
    auto marker = [](int i) {
        return testing_support::Marker("hole", i, kCluster).substr(0, kCluster);
    };
    for (int i = 0; i < 24; ++i) {
        run.Drives().WriteFile((i % 2 ? "D:\\keep" : "D:\\gone") + std::to_string(i), marker(i));
        ::sync();
    }
    for (int i = 0; i < 24; i += 2) {
        ASSERT_EQ(::unlink(run.Drives().Native("D:\\gone" + std::to_string(i)).c_str()), 0);
    }
    ::sync();
    auto& fill = run.Windows().FillDisk();
    auto metadataOfDummies = [&] {
        std::uint64_t clusters = 0;
        for (int n = 1; run.Drives().Exists("D:\\dummy" + std::to_string(n)); ++n) {
            clusters +=
                ClustersBeyondData(run.Drives().Native("D:\\dummy" + std::to_string(n)), kCluster);
        }
        return clusters;
    };

    FillD();
    EXPECT_GT(metadataOfDummies(), 0u) << "the holes did not make an extent tree";
    fill.DeleteDummyFilesLeft();
    fill.blnOwnNoMetadata = true;
    FillD();
    fill.blnOwnNoMetadata = false;
    EXPECT_TRUE(fill.strFailure.empty()) << fill.strFailure;
    EXPECT_TRUE(run.Drives().Exists("D:\\dummy2")) << "the fill went on in new files";
    EXPECT_EQ(metadataOfDummies(), 0u);
    EXPECT_TRUE(FullToTheLastBlock(run.Drives().Root('D')));
    fill.DeleteDummyFilesLeft();
    fill.LetGoOfDrive();
    ASSERT_TRUE(mount->Unmount());

    const std::string raw = testing_support::ReadNative(image);
    for (int i = 0; i < 24; ++i) {
        const bool found = raw.find(marker(i).substr(0, 64)) != std::string::npos;
        EXPECT_EQ(found, i % 2 == 1) << "marker " << i;
    }
}

}  // namespace
