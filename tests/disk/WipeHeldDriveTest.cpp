// A disk wipe stays on the drive and the kept folders that were chosen,
// whatever happens to their paths while the fill runs: the drive's link
// retargeted or another file system mounted over its folder, a kept folder
// renamed and a new one made under its name. And a drive on the running
// system's file system, or inside one of its folders, is refused before
// anything is written. (The mounts need root.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/MountSupport.h"
#include "tests/testsupport/ProgramHarness.h"

using testing_support::Mount;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

// Makes `folder` a symbolic link to `target` in one step, as a drive
// mapped through a link that someone retargets.
void PointAt(const std::string& folder, const std::string& target) {
    const std::string link = folder + ".new";
    fs::create_directory_symlink(target, link);
    fs::rename(link, folder);
}

void WriteNative(const std::string& path, const std::string& contents) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

std::string ReadNative(const std::string& path) { return testing_support::ReadNative(path); }

class WipeHeldDrive : public ::testing::Test {
  protected:
    WipeHeldDrive() { wipe.Sizes().sizes['D'] = {3 << 20, 8 << 20}; }

    // The whole wipe of D, every question answered so that it goes on;
    // `meanwhile` runs once while the fill writes.
    void WipeD(std::vector<std::string> excluded, std::function<void()> meanwhile) {
        wipe.Counting()->afterWrite = [this, meanwhile, done = false]() mutable {
            if (done) return;
            done = true;
            meanwhile();
        };
        wipe.ChooseDrive('D');
        wipe.Exclude(std::move(excluded), false);
        wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
        wipe.Wipe();
    }
    std::string Report() { return wipe.Run().Report().ReportText(); }
    std::string D() { return wipe.Drives().Root('D'); }

    disk_testing::WipeProgram wipe;
};

TEST_F(WipeHeldDrive, ALinkRetargetedDuringTheFillDoesNotMoveTheRun) {
    const std::string chosen = D() + "-chosen", other = D() + "-other";
    WriteNative(chosen + "/mine.dat", "to be wiped");
    WriteNative(chosen + "/sub/deep.dat", "to be wiped too");
    WriteNative(other + "/theirs.dat", "not on the drive chosen");
    WriteNative(other + "/sub/deep.dat", "nor this");
    fs::remove(D());
    PointAt(D(), chosen);

    WipeD({}, [&] { PointAt(D(), other); });

    EXPECT_EQ(ReadNative(other + "/theirs.dat"), "not on the drive chosen");
    EXPECT_EQ(ReadNative(other + "/sub/deep.dat"), "nor this");
    EXPECT_FALSE(fs::exists(other + "/dummy1"));
    EXPECT_FALSE(fs::exists(chosen + "/mine.dat"));
    EXPECT_FALSE(fs::exists(chosen + "/sub"));
    EXPECT_FALSE(fs::exists(chosen + "/dummy1"));
    EXPECT_EQ(wipe.Counting()->created, std::vector<std::string>{"dummy1"});
    EXPECT_NE(Report().find("Number of files purged: 3"), std::string::npos) << Report();
}

TEST_F(WipeHeldDrive, ALinkRetargetedRightAfterTheDriveIsChosenMovesNoStepOfTheWipe) {
    const std::string chosen = D() + "-chosen", other = D() + "-other";
    WriteNative(chosen + "/keep/k.dat", "kept");
    WriteNative(chosen + "/mine.dat", "to be wiped");
    WriteNative(other + "/keep/theirs.dat", "not on the drive chosen");
    fs::remove(D());
    PointAt(D(), chosen);
    // The folder to keep is looked for, the test file of the speed test and
    // the dummy file written, and the run made, after the retarget.
    std::vector<std::string> writtenIn;
    wipe.Counting()->afterWrite = [&] {
        if (fs::exists(chosen + "/dummy1")) writtenIn.push_back("chosen");
        if (fs::exists(other + "/dummy1")) writtenIn.push_back("other");
    };
    wipe.ChooseDrive('D');
    wipe.Exclude({}, false);
    wipe.Ui().OnModal("frmExcludedFolders", [&](ui::Form& form) {
        auto& dialog = static_cast<frmExcludedFolders&>(form);
        PointAt(D(), other);
        wipe.Ui().AnswerNextFolderBrowse("D:\\keep");
        dialog.cmdAddFolder.RaiseClick();
        dialog.cmdClose.RaiseClick();
    });
    // Test the speed first: Yes, and Yes to the test's own question; its
    // result; then the wipe's questions.
    wipe.Answer(
        {Answer::Yes, Answer::Yes, Answer::OK, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();

    EXPECT_NE(wipe.Main().sngPurgeSpeed['D' - 'A'], 0) << "the speed test did not run";
    ASSERT_FALSE(writtenIn.empty());
    EXPECT_EQ(std::count(writtenIn.begin(), writtenIn.end(), "other"), 0);
    EXPECT_EQ(ReadNative(chosen + "/keep/k.dat"), "kept");
    EXPECT_FALSE(fs::exists(chosen + "/mine.dat"));
    EXPECT_FALSE(fs::exists(chosen + "/dummy1"));
    EXPECT_EQ(ReadNative(other + "/keep/theirs.dat"), "not on the drive chosen");
}

TEST_F(WipeHeldDrive, AFileSystemMountedOverTheDriveDuringTheFillIsLeftAlone) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system";
    wipe.Drives().WriteFile("D:\\mine.dat", "to be wiped");
    wipe.Drives().WriteFile("D:\\sub\\deep.dat", "to be wiped too");
    std::unique_ptr<Mount> over;
    WipeD({}, [&] {
        over = std::make_unique<Mount>("tmpfs", "-t tmpfs -o size=1m", D());
        WriteNative(D() + "/theirs.dat", "on the file system mounted over the drive");
    });
    ASSERT_TRUE(over && over->Mounted());
    EXPECT_EQ(ReadNative(D() + "/theirs.dat"), "on the file system mounted over the drive");
    EXPECT_FALSE(fs::exists(D() + "/dummy1"));
    ASSERT_TRUE(over->Unmount()) << "the wipe still holds something open";
    EXPECT_FALSE(wipe.Drives().Exists("D:\\mine.dat"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\sub"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\dummy1"));
}

TEST_F(WipeHeldDrive, AKeptFolderRenamedDuringTheFillStaysKeptAndTheOneMadeUnderItsNameIsWiped) {
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\keep\\k.dat", "kept exactly");
    drives.WriteFile("D:\\keep\\sub\\k2.dat", "kept too");
    drives.WriteFile("D:\\other.dat", "wiped");
    WipeD({"D:\\keep"}, [&] {
        fs::rename(drives.Native("D:\\keep"), drives.Native("D:\\keep-renamed"));
        drives.WriteFile("D:\\keep\\new.dat", "made later under the kept folder's name");
    });

    EXPECT_EQ(drives.ReadFile("D:\\keep-renamed\\k.dat"), "kept exactly");
    EXPECT_EQ(drives.ReadFile("D:\\keep-renamed\\sub\\k2.dat"), "kept too");
    EXPECT_FALSE(drives.Exists("D:\\keep"));
    EXPECT_FALSE(drives.Exists("D:\\other.dat"));
    // The report lists the folder as it was chosen, and meets it renamed.
    EXPECT_NE(Report().find("will not be purged:\r\nD:\\keep\r\n"), std::string::npos) << Report();
    EXPECT_NE(Report().find("D:\\keep-renamed\\ is an excluded folder."), std::string::npos);
    EXPECT_EQ(Report().find("D:\\keep\\ is an excluded folder."), std::string::npos) << Report();
}

// The system's folders for one test; the wipe's own setting afterwards.
class SystemFolders {
  public:
    explicit SystemFolders(std::optional<std::vector<std::string>> folders) {
        SetSystemFoldersForTesting(std::move(folders));
    }
    ~SystemFolders() { SetSystemFoldersForTesting(std::vector<std::string>{}); }
};

TEST_F(WipeHeldDrive, ADriveOnTheRunningSystemsFileSystemIsRefused) {
    struct stat drive {};
    struct stat system {};
    ASSERT_EQ(::stat(D().c_str(), &drive), 0);
    ASSERT_EQ(::stat("/", &system), 0);
    if (drive.st_dev != system.st_dev)
        GTEST_SKIP() << "the temporary folders have a disk of their own";
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    SystemFolders real(std::nullopt);
    wipe.ChooseDrive('D');
    wipe.Wipe();  // no exclusions dialog is scripted: none may open
    auto boxes = wipe.WipeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Drive D: lies on the file system of the running system, so it "
                             "cannot be wiped:\r\na wipe would destroy the running system or this "
                             "program.",
                             0),
              0u)
        << boxes[0];
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\x.dat"), "x");
    EXPECT_TRUE(wipe.Counting()->created.empty());
}

TEST_F(WipeHeldDrive, ADriveThatIsASystemFolderOrTheProgramsFolderIsRefused) {
    auto& drives = wipe.Drives();
    drives.WriteFile("C:\\usr\\bin.dat", "the system's");
    const std::string usr = drives.Native("C:\\usr");
    const std::string program = drives.Native(testing_support::ProgramFiles::kProgramFolder);
    fs::remove(D());
    PointAt(D(), usr);
    {
        SystemFolders system(std::vector<std::string>{usr});
        wipe.ChooseDrive('D');
        wipe.Wipe();
    }
    PointAt(D(), program);
    wipe.ChooseDrive('D');
    wipe.Wipe();
    auto boxes = wipe.WipeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rfind("Drive D: holds " + usr + ", so it cannot be wiped", 0), 0u)
        << boxes[0];
    EXPECT_EQ(boxes[1].rfind("Drive D: holds " + program + ", so it cannot be wiped", 0), 0u)
        << boxes[1];
    EXPECT_EQ(ReadNative(usr + "/bin.dat"), "the system's");
    EXPECT_TRUE(wipe.Counting()->created.empty());
}

TEST_F(WipeHeldDrive, ADriveInsideASystemFolderIsRefusedThoughItIsAFileSystemOfItsOwn) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system";
    auto& drives = wipe.Drives();
    drives.MakeFolder("C:\\usr\\local");
    Mount local("tmpfs", "-t tmpfs -o size=1m", drives.Native("C:\\usr\\local"));
    ASSERT_TRUE(local.Mounted());
    WriteNative(drives.Native("C:\\usr\\local") + "/bin.dat", "the system's");
    fs::remove(D());
    PointAt(D(), drives.Native("C:\\usr\\local"));
    SystemFolders usr(std::vector<std::string>{drives.Native("C:\\usr")});
    wipe.ChooseDrive('D');
    wipe.Wipe();
    auto boxes = wipe.WipeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Drive D: lies within " + drives.Native("C:\\usr") + ", so it", 0), 0u)
        << boxes[0];
    EXPECT_EQ(ReadNative(drives.Native("C:\\usr\\local") + "/bin.dat"), "the system's");
}

}  // namespace
