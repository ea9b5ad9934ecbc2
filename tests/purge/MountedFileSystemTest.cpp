// Runs over real mounted file systems (needs root): a purged folder leaves
// none of its files' contents in the raw image, and a run never enters a
// file system mounted inside its tree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/MountSupport.h"

using run_testing::RunProgram;
using testing_support::Mount;
using testing_support::ReadNative;
using testing_support::Shell;

namespace {

std::string Marker(int which) { return testing_support::Marker("run", which, 64 << 10); }

}  // namespace

TEST(MountedFileSystem, APurgedFolderLeavesNoContentsInTheRawImage) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system image";
    RunProgram run("CD");
    const std::string image = run.Drives().Native("C:\\disk.img");
    run.WriteSparseFile("C:\\disk.img", 32u << 20);
    if (!Shell("mkfs.ext4 -q -F '" + image + "'")) GTEST_SKIP() << "no mkfs.ext4";
    Mount mount("'" + image + "'", "-o loop", run.Drives().Root('D'));
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a loop device here";

    const char* const files[] = {"D:\\secrets\\a.txt", "D:\\secrets\\b c.dat",
                                 "D:\\secrets\\inner\\d.txt", "D:\\secrets\\inner\\deeper\\e"};
    for (int i = 0; i < 4; ++i) run.Drives().WriteFile(files[i], Marker(i));
    run.Drives().WriteFile("D:\\kept\\k.txt", Marker(9));
    ASSERT_TRUE(mount.Unmount());
    std::string raw = ReadNative(image);
    for (int i : {0, 1, 2, 3, 9}) {
        ASSERT_NE(raw.find(Marker(i).substr(0, 64)), std::string::npos) << "cannot see " << i;
    }
    ASSERT_TRUE(mount.Remount("'" + image + "'", "-o loop"));

    run.SetPurgeType(0, 1);
    run.Select("D:\\secrets\\", "*.*", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);
    const std::string& report = run.Purge();
    EXPECT_NE(report.find("Number of files purged: 4"), std::string::npos) << report;
    EXPECT_FALSE(run.Drives().Exists("D:\\secrets\\inner"));

    ASSERT_TRUE(mount.Unmount());
    ASSERT_FALSE(mount.Mounted());
    raw = ReadNative(image);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(raw.find(Marker(i).substr(0, 40)), std::string::npos) << files[i];
    }
    EXPECT_NE(raw.find(Marker(9).substr(0, 64)), std::string::npos) << "the kept file is intact";
}

TEST(MountedFileSystem, ARunNeverEntersAnotherFileSystemInItsTree) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system";
    RunProgram run;
    run.Drives().WriteFile("C:\\tree\\a.txt", "on the starting file system");
    run.Drives().MakeFolder("C:\\tree\\elsewhere");
    Mount mount("tmpfs", "-t tmpfs -o size=1m", run.Drives().Native("C:\\tree\\elsewhere"));
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    run.Drives().WriteFile("C:\\tree\\elsewhere\\b.txt", "on another file system");

    run.Select("C:\\tree\\", "*.*", true);
    run.Ui().AnswerNextBox(ui::Answer::Yes);
    const std::string& listing = run.List();
    EXPECT_NE(listing.find("C:\\tree\\elsewhere\\ is on another file system; not listed."),
              std::string::npos)
        << listing;
    EXPECT_EQ(run.Report().NumFilesProcessed(), 1);

    run.Options().chkDeleteEmptyFolders.SetValue(1);
    const std::string& report = run.Purge();
    EXPECT_NE(report.find("C:\\tree\\elsewhere\\ is on another file system; not purged."),
              std::string::npos)
        << report;
    EXPECT_FALSE(run.Drives().Exists("C:\\tree\\a.txt"));
    EXPECT_EQ(run.Drives().ReadFile("C:\\tree\\elsewhere\\b.txt"), "on another file system");
}

TEST(MountedFileSystem, BindMountsOfTheSameFileSystemAreNeverEntered) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to bind-mount";
    RunProgram run;
    run.Drives().WriteFile("C:\\elsewhere\\inner.txt", "reached through a bind mount");
    run.Drives().WriteFile("C:\\secret.txt", "bound over a name in the tree");
    run.Drives().WriteFile("C:\\tree\\a.txt", "mine");
    run.Drives().WriteFile("C:\\tree\\file.txt", "");
    run.Drives().MakeFolder("C:\\tree\\bound");
    Mount folder("--bind", run.Drives().Native("C:\\elsewhere"),
                 run.Drives().Native("C:\\tree\\bound"));
    Mount file("--bind", run.Drives().Native("C:\\secret.txt"),
               run.Drives().Native("C:\\tree\\file.txt"));
    if (!folder.Mounted() || !file.Mounted()) GTEST_SKIP() << "cannot bind-mount here";

    run.Select("C:\\tree\\", "*.*", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);
    const std::string& report = run.Purge();

    EXPECT_NE(report.find("C:\\tree\\bound\\ is on another file system; not purged."),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("file.txt: on another file system, not purged."), std::string::npos);
    EXPECT_FALSE(run.Drives().Exists("C:\\tree\\a.txt"));
    folder.Unmount();
    file.Unmount();
    EXPECT_EQ(run.Drives().ReadFile("C:\\elsewhere\\inner.txt"), "reached through a bind mount");
    EXPECT_EQ(run.Drives().ReadFile("C:\\secret.txt"), "bound over a name in the tree");
}
