#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "platform/DriveInfo.h"
#include "platform/NativePaths.h"
#include "platform/Shell.h"
#include "support/Folder.h"
#include "tests/testsupport/TempDrive.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

// A shell whose application-data folder the test chooses.
class FakeShell : public platform::Shell {
  public:
    explicit FakeShell(std::optional<std::string> appData) : appData_(std::move(appData)) {}
    std::optional<std::string> ApplicationDataFolder() override { return appData_; }
    int OpenAddress(const std::string&) override { return 0; }

  private:
    std::optional<std::string> appData_;
};

struct ShellScope {
    explicit ShellScope(std::optional<std::string> appData) {
        platform::SetShellForTesting(std::make_shared<FakeShell>(std::move(appData)));
    }
    ~ShellScope() { platform::SetShellForTesting(nullptr); }
};

TEST(Folder, BrowseReturnsThePathAsChosenOrNothing) {
    testing_support::HeadlessScope ui;
    ui->AnswerNextFolderBrowse(std::nullopt);
    ui->AnswerNextFolderBrowse("C:\\Users\\Some Folder");
    EXPECT_EQ(BrowseForFolder("Specify folder"), "");
    EXPECT_EQ(BrowseForFolder("Specify folder"), "C:\\Users\\Some Folder");
}

TEST(Folder, UserDataFilePathIsNativeAndCreatesWhatIsMissing) {
    testing_support::TempDrives drives("C");
    drives.MakeFolder("C:\\home");
    {
        // A fresh account: not even the application-data folder exists yet.
        ShellScope shell(drives.Native("C:\\home\\.config"));
        EXPECT_EQ(SpecialFolderPath(kFolderApplicationData), drives.Native("C:\\home\\.config"));
        EXPECT_EQ(UserDataFilePath("kz.usr", "Kestrane"),
                  drives.Native("C:\\home\\.config\\Kestrane\\kz.usr"));
        EXPECT_TRUE(FolderExists("C:\\home\\.config\\Kestrane"));
    }
    {
        // A per-user folder that no drive maps is used where it is: nothing
        // appears on the drives instead.
        testing_support::TempDrives elsewhere("Z");
        const std::string config = platform::JoinNative(elsewhere.Root('Z'), "config");
        platform::SetDrives(platform::DriveTable::FromSpec("C=" + drives.Root('C')));
        ShellScope shell(config);
        EXPECT_EQ(UserDataFilePath("kz.usr", "Kestrane"),
                  platform::JoinNative(platform::JoinNative(config, "Kestrane"), "kz.usr"));
        EXPECT_TRUE(std::filesystem::is_directory(platform::JoinNative(config, "Kestrane")));
        EXPECT_FALSE(drives.Exists("C:\\Kestrane"));
    }
    platform::DriveObject c;
    if (platform::Drive().GetDrive("C:", c) != 0 || c.driveType != platform::kObjectFixed) {
        GTEST_SKIP() << "temporary folders are not on a fixed drive here";
    }
    // No application-data folder: the root of the first fixed drive.
    ShellScope shell(std::nullopt);
    EXPECT_EQ(UserDataFilePath("kz.usr", "Kestrane"), drives.Native("C:\\Kestrane\\kz.usr"));
    EXPECT_TRUE(drives.Exists("C:\\Kestrane"));
}

TEST(Folder, FoldersAreRealFoldersNeverLinks) {
    testing_support::TempDrives drives("C");
    drives.MakeFolder("C:\\top");
    EXPECT_EQ(NumSubfolders("C:\\top"), 0);
    drives.MakeFolder("C:\\top\\a\\deeper");
    drives.MakeFolder("C:\\top\\b");
    drives.WriteFile("C:\\top\\file", "x");
    // Where the system has links, one to a folder counts as no folder.
    if (testing_support::kHasFifosAndLinks) {
        ASSERT_TRUE(testing_support::MakeSymbolicLink(drives.Native("C:\\top\\a"),
                                                      drives.Native("C:\\top\\link")));
    }
    EXPECT_EQ(NumSubfolders("C:\\top\\"), 2);
    EXPECT_EQ(NumSubfolders("C:\\missing"), -1);
    EXPECT_EQ(NumSubfolders("C:\\top\\file"), -1);
    EXPECT_TRUE(FolderExists("C:\\top\\a\\"));
    EXPECT_FALSE(FolderExists("C:\\top\\link"));
    EXPECT_FALSE(FolderExists("C:\\top\\file"));
}

TEST(Folder, NumMatchingFilesCountsDirectMatchingFiles) {
    testing_support::TempDrives drives("C");
    testing_support::HeadlessScope ui;
    drives.WriteFile("C:\\docs\\a.txt", "");
    drives.WriteFile("C:\\docs\\B.TXT", "");
    drives.WriteFile("C:\\docs\\c.doc", "");
    drives.WriteFile("C:\\docs\\readme", "");
    drives.WriteFile("C:\\docs\\sub\\d.txt", "");
    drives.MakeFolder("C:\\docs\\folder.txt");
    // Where the system has them, a link and a FIFO count as no files.
    if (testing_support::kHasFifosAndLinks) {
        ASSERT_TRUE(testing_support::MakeSymbolicLink(drives.Native("C:\\docs\\a.txt"),
                                                      drives.Native("C:\\docs\\link.txt")));
        ASSERT_TRUE(testing_support::MakeFifo(drives.Native("C:\\docs\\pipe.txt")));
    }

    EXPECT_EQ(NumMatchingFiles("C:\\docs\\", "*.txt"), 2);
    EXPECT_EQ(NumMatchingFiles("C:\\docs", "*.*"), 4);
    EXPECT_EQ(NumMatchingFiles("C:\\docs", "*"), 1);
    EXPECT_EQ(NumMatchingFiles("C:\\docs", "b.txt"), 0) << "a plain name keeps its case";
    EXPECT_EQ(NumMatchingFiles("C:\\docs", "B.TXT"), 1);
    EXPECT_TRUE(ui->Boxes().empty());
}

TEST(Folder, NumMatchingFilesOfAMissingFolderSaysSo) {
    testing_support::TempDrives drives("C");
    testing_support::HeadlessScope ui;
    drives.WriteFile("C:\\file.txt", "x");
    // The file system's own words, not one fixed text for every error.
    const struct {
        const char* path;
        std::string why;
    } cases[] = {{"C:\\missing\\", testing_support::MissingFileText()},
                 {"C:\\file.txt", "Path not found"},
                 {"Q:\\", "Path not found"}};
    for (const auto& [path, why] : cases) {
        ui->ClearBoxes();
        EXPECT_EQ(NumMatchingFiles(path, "*.*"), -1) << path;
        ASSERT_EQ(ui->Boxes().size(), 1u);
        const auto& box = ui->LastBox();
        EXPECT_EQ(box.text, why) << path;
        EXPECT_EQ(box.title, "Error");
        EXPECT_EQ(box.icon, ui::Icon::Information);
        EXPECT_EQ(box.buttons, ui::Buttons::OK);
    }
}

// Drive C: in RAM when the system offers it: a disk file system may take
// seconds for the tens of thousands of entries below.
#ifndef _WIN32
class RamDrive {
  public:
    RamDrive() : saved_(platform::Drives()) {
        std::string base = "/dev/shm/kestrane-many-XXXXXX";
        if (::access("/dev/shm", W_OK) == 0 && ::mkdtemp(base.data()) != nullptr) {
            base_ = base;
            platform::DriveTable table;
            table.Map('C', base_);
            platform::SetDrives(table);
        } else {
            fallback_.emplace("C");
        }
    }
    ~RamDrive() {
        if (base_.empty()) return;
        platform::SetDrives(saved_);
        std::error_code ec;
        std::filesystem::remove_all(base_, ec);
    }
    std::string Native() const { return base_.empty() ? fallback_->Root('C') : base_; }

  private:
    platform::DriveTable saved_;
    std::string base_;
    std::optional<testing_support::TempDrives> fallback_;
};

TEST(Folder, CountsPastTheOldSixteenBitLimit) {
    RamDrive drive;
    testing_support::HeadlessScope ui;
    int dir = ::open(drive.Native().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(dir, 0);
    for (int i = 0; i < 40000; ++i) {
        std::string name = "f" + std::to_string(i) + (i % 2 ? ".dat" : ".tmp");
        int fd = ::openat(dir, name.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0600);
        ASSERT_GE(fd, 0) << name;
        ::close(fd);
    }
    for (int i = 0; i < 33000; ++i) {
        ASSERT_EQ(::mkdirat(dir, ("d" + std::to_string(i)).c_str(), 0700), 0);
    }
    ::close(dir);
    EXPECT_EQ(NumMatchingFiles("C:\\", "*.*"), 40000);
    EXPECT_EQ(NumMatchingFiles("C:\\", "*.dat"), 20000);
    EXPECT_EQ(NumSubfolders("C:\\"), 33000);
    EXPECT_TRUE(ui->Boxes().empty());
}
#endif

}  // namespace
