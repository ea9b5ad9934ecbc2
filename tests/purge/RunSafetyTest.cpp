// A run acts on exactly the tree it was given, as an attacker who can write
// in that tree would try it: names that look like paths, a folder swapped
// for a link while the purge runs, hard links and names that would forge
// report lines, the program's own folder under another drive letter, and a
// tree deeper than any path can be long.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/frmSpecifyFiles.h"
#include "platform/DrivePaths.h"
#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/ProgramHarness.h"

using run_testing::FakeLibrary;
using run_testing::RunProgram;
namespace fs = std::filesystem;

namespace {

const char* const kCrLf = "\r\n";

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Creates `depth` nested folders named "d" below `native` with a file in the
// deepest one and every `every`th, relative to open descriptors, since the
// whole path is far longer than any path the system accepts.
void MakeDeepTree(const std::string& native, int depth, int every = 1000) {
    int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 1; level <= depth; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0) << level;
        int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        if (level % every == 0 || level == depth) {
            int file = ::openat(fd, "deep.txt", O_WRONLY | O_CREAT, 0644);
            ASSERT_EQ(::write(file, "deep", 4), 4);
            ::close(file);
        }
    }
    ::close(fd);
}

// Removes a tree MakeDeepTree made, two descriptors at a time, where no
// path could name its lower folders.
void RemoveDeepTree(const std::string& native) {
    int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    int depth = 0;
    for (int next; (next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY)) >= 0; ++depth) {
        ::unlinkat(next, "deep.txt", 0);
        ::close(fd);
        fd = next;
    }
    for (; depth > 0 && fd >= 0; --depth) {
        int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        if (parent >= 0) ::unlinkat(parent, "d", AT_REMOVEDIR);
        fd = parent;
    }
    if (fd >= 0) ::close(fd);
}

// Where the test may mount (root), a deep tree is made in memory: on a busy
// disk its 20,000 removals alone take a minute.
class MemoryFolder {
  public:
    explicit MemoryFolder(std::string native) : native_(std::move(native)) {
        mounted_ =
            ::geteuid() == 0 && ::mount("tmpfs", native_.c_str(), "tmpfs", 0, "size=256m") == 0;
    }
    ~MemoryFolder() {
        if (mounted_) ::umount2(native_.c_str(), MNT_DETACH);
    }

  private:
    std::string native_;
    bool mounted_ = false;
};

struct DeepTreeRemover {
    std::string native;
    ~DeepTreeRemover() { RemoveDeepTree(native); }
};

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The handles this process holds now.
std::size_t OpenHandles() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}));
}

// Lowers the process's limit of open handles for a while.
class HandleLimit {
  public:
    explicit HandleLimit(rlim_t most) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = most;
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~HandleLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

  private:
    rlimit saved_{};
};

}  // namespace

TEST(RunSafety, NamesThatLookLikePathsNeverLeadOutOfTheTree) {
    RunProgram run;
    run.Drives().WriteFile("C:\\outside\\keep.txt", "a sibling of the tree");
    run.Drives().WriteFile("C:\\outside\\inner\\keep.txt", "deeper in the sibling");
    run.Drives().WriteFile("C:\\tree\\plain.txt", "mine");
    const fs::path tree = run.Drives().Native("C:\\tree");
    for (const char* name : {"..\\outside", "x\\..", "\\"}) {
        fs::create_directory(tree / name);
        std::ofstream(tree / name / "inside.txt") << "in an odd folder";
    }
    std::ofstream(tree / "a\\b.txt") << "a backslash in a file name";
    run.Select("C:\\tree\\", "*.*", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);

    const std::string& report = run.Purge();

    EXPECT_EQ(run.Drives().ReadFile("C:\\outside\\keep.txt"), "a sibling of the tree");
    EXPECT_EQ(run.Drives().ReadFile("C:\\outside\\inner\\keep.txt"), "deeper in the sibling");
    EXPECT_FALSE(run.Drives().Exists("C:\\tree\\plain.txt"));
    for (const char* name : {"..\\outside", "x\\..", "\\"}) {
        EXPECT_TRUE(fs::exists(tree / name / "inside.txt")) << name;
        EXPECT_TRUE(Has(report, std::string("C:\\tree\\") + name +
                                    "\\ has a backslash in its name, which no drive path can "
                                    "hold; not purged."))
            << name;
    }
    EXPECT_TRUE(fs::exists(tree / "a\\b.txt"));
    EXPECT_TRUE(Has(report, "a\\b.txt: a name with a backslash, which no drive path can hold, "
                            "not purged."));
    EXPECT_EQ(run.Report().NumEntriesSkipped(), 4);
}

TEST(RunSafety, PosixNamesWithWildcardCharactersArePurgedAndNoneIsSkippedSilently) {
    RunProgram run;
    for (const char* name : {"log 12:30.txt", "what?.txt", "star*.txt", "plain.txt"}) {
        run.Drives().WriteFile(std::string("C:\\w\\") + name, "data");
    }
    run.Select("C:\\w\\", "*.*", false);
    const std::string& report = run.Purge();
    for (const char* name : {"log 12:30.txt", "what?.txt", "star*.txt", "plain.txt"}) {
        EXPECT_TRUE(Has(report, std::string(name) + " (4 bytes) purged.")) << name;
        EXPECT_FALSE(run.Drives().Exists(std::string("C:\\w\\") + name)) << name;
    }
    EXPECT_EQ(run.Report().NumEntriesSkipped(), 0);
}

TEST(RunSafety, APlainNameSelectsThatNameByteForByte) {
    RunProgram run;
    run.Drives().WriteFile("C:\\s\\.env", "secret");
    run.Drives().WriteFile("C:\\s\\y2.env", "another");
    run.Drives().WriteFile("C:\\s\\notes.txt", "notes");
    run.Drives().WriteFile("C:\\s\\ a.txt", "leading blank");
    run.Drives().WriteFile("C:\\s\\a.txt", "no blank");

    run.Select("C:\\s\\", ".env", false);
    run.Purge();
    EXPECT_FALSE(run.Drives().Exists("C:\\s\\.env"));
    EXPECT_EQ(run.Drives().ReadFile("C:\\s\\y2.env"), "another");

    run.Select("C:\\s\\", "notes.", false);
    run.Main().cmdProcessFiles(1).RaiseMouseUp();
    ASSERT_FALSE(run.Ui().Boxes().empty());
    EXPECT_EQ(run.Ui().Boxes().back().text, "File notes. not found.");
    EXPECT_EQ(run.Drives().ReadFile("C:\\s\\notes.txt"), "notes");

    // The name picked in the file list is kept exactly, blanks included.
    frmSpecifyFiles& dialog = run.Windows().SpecifyFiles();
    dialog.strFolder = "C:\\s\\";
    dialog.intNumFiles = 4;
    dialog.Form_Activate();
    const auto& items = dialog.File.Items();
    auto blank = std::find(items.begin(), items.end(), " a.txt");
    ASSERT_NE(blank, items.end());
    dialog.optSingleFile.SetValue(1);
    dialog.File.SetValue(static_cast<int>(blank - items.begin()));
    EXPECT_EQ(dialog.ChosenFileSpec(), " a.txt");
    run.Select("C:\\s\\", " a.txt", false);
    run.Purge();
    EXPECT_FALSE(run.Drives().Exists("C:\\s\\ a.txt"));
    EXPECT_EQ(run.Drives().ReadFile("C:\\s\\a.txt"), "no blank");
}

TEST(RunSafety, AHardLinkToAFileOutsideTheTreeLeavesItWhole) {
    RunProgram run;
    run.Drives().WriteFile("C:\\outside.txt", "shared data");
    run.Drives().WriteFile("C:\\tree\\own.txt", "mine");
    fs::create_hard_link(run.Drives().Native("C:\\outside.txt"),
                         run.Drives().Native("C:\\tree\\link.txt"));
    run.Select("C:\\tree\\", "*.*", false);

    run.Ui().AnswerNextBox(ui::Answer::Yes);  // "Display folder names?" is not asked here
    const std::string listing = run.List();
    EXPECT_TRUE(Has(listing, "link.txt: a file with other hard links, not listed."));

    const std::string& report = run.Purge();
    EXPECT_TRUE(Has(report, "link.txt: a file with other hard links, not purged."));
    EXPECT_EQ(run.Drives().ReadFile("C:\\outside.txt"), "shared data");
    EXPECT_EQ(run.Drives().ReadFile("C:\\tree\\link.txt"), "shared data");
    EXPECT_FALSE(run.Drives().Exists("C:\\tree\\own.txt"));
    EXPECT_EQ(run.Report().NumEntriesSkipped(), 1);
}

TEST(RunSafety, NamesCannotForgeReportLines) {
    RunProgram run;
    const std::string forged = "x.txt (1 bytes) purged.";
    run.Drives().WriteFile("C:\\n\\keep.dat", "k");
    std::ofstream(run.Drives().Native("C:\\n") + "/a\r\n" + forged + "\x1b[2K") << "z";
    run.Select("C:\\n\\", "*.*", false);
    const std::string& report = run.Purge();
    EXPECT_FALSE(Has(report, kCrLf + forged));
    EXPECT_FALSE(Has(report, "\n" + forged));
    EXPECT_TRUE(Has(report, testing_support::AsShown("a\\r\\n" + forged + "\\x1b[2K") +
                                " (1 bytes) purged."))
        << report;
}

TEST(RunSafety, TheProgramsFolderIsKnownUnderAnyDriveLetter) {
    RunProgram run("CD");
    // D: is the program's own folder, reached by another letter.
    platform::DriveTable table = platform::Drives();
    table.Map('D', run.Drives().Native(testing_support::ProgramFiles::kProgramFolder));
    platform::SetDrives(table);
    run.Select("D:\\", "*.*", false);
    const std::string& report = run.Purge();
    EXPECT_TRUE(Has(report, "kz_text.dat: a file in the current application folder, not purged."));
    EXPECT_TRUE(run.Drives().Exists(std::string(testing_support::ProgramFiles::kProgramFolder) +
                                    "\\kz_text.dat"));
}

TEST(RunSafety, ATreeDeeperThanAnyPathIsPurgedCompletely) {
    constexpr int kDepth = 5000;
    RunProgram run;
    run.Drives().MakeFolder("C:\\deep");
    MakeDeepTree(run.Drives().Native("C:\\deep"), kDepth);
    run.Select("C:\\deep\\", "*.*", true);

    run.Ui().AnswerNextBox(ui::Answer::No);  // "Display folder names?"
    run.List();
    EXPECT_EQ(run.Report().NumFilesProcessed(), kDepth / 1000);

    run.Options().chkDeleteEmptyFolders.SetValue(1);
    run.Purge();
    EXPECT_EQ(run.Report().lngNumFilesPurged, kDepth / 1000);
    EXPECT_EQ(run.Report().NumEntriesSkipped(), 0);
    EXPECT_TRUE(fs::is_empty(run.Drives().Native("C:\\deep")));
}

// Deeper than many systems let a process hold handles, and than the call
// stack of a Debug build would take a walk that recursed once per level.
TEST(RunSafety, ATreeDeeperThanAnyPathByTwentyThousandLevelsIsListedAndPurgedWithItsReport) {
    constexpr int kDepth = 20000;
    constexpr int kFiles = kDepth / 1000;
    RunProgram run;
    run.Drives().MakeFolder("C:\\deep");
    const DeepTreeRemover remover{run.Drives().Native("C:\\deep")};
    const MemoryFolder inMemory(remover.native);
    MakeDeepTree(remover.native, kDepth);
    run.Select("C:\\deep\\", "*.*", true);

    run.Ui().AnswerNextBox(ui::Answer::No);  // "Display folder names?"
    const std::string listing = run.List();
    EXPECT_EQ(run.Report().NumFilesProcessed(), kFiles);
    EXPECT_TRUE(
        Has(listing, std::string(kFiles, '.') + kCrLf + kCrLf + "Number of files: 20" + kCrLf));

    const std::string report = run.Purge();
    EXPECT_EQ(run.Report().lngNumFilesPurged, kFiles);
    EXPECT_EQ(Occurrences(report, std::string("\\d\\") + kCrLf + "deep.txt (4 bytes) purged." +
                                      kCrLf + kCrLf),
              static_cast<std::size_t>(kFiles));
    EXPECT_TRUE(Has(report, std::string("Number of files purged: 20") + kCrLf));
    EXPECT_EQ(run.Report().NumEntriesSkipped(), 0);

    run.Select("C:\\deep\\", "*.*", true);
    run.Ui().AnswerNextBox(ui::Answer::No);
    run.List();
    EXPECT_EQ(run.Report().NumFilesProcessed(), 0);
}

// Where a process may hold no more handles, the folder the walk cannot open
// gets its line and the run goes on: it ends with its summary, and what it
// could not reach is still there for the next run.
TEST(RunSafety, RunningOutOfHandlesLeavesTheDeeperFoldersWithALineAndTheRunGoesOn) {
    constexpr int kDepth = 300;
    constexpr int kFiles = kDepth / 10;
    RunProgram run;
    run.Drives().MakeFolder("C:\\deep");
    const DeepTreeRemover remover{run.Drives().Native("C:\\deep")};
    MakeDeepTree(remover.native, kDepth, 10);
    run.Select("C:\\deep\\", "*.*", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);

    std::string report;
    std::int32_t purgedFirst = 0;
    {
        const HandleLimit limit(OpenHandles() + 100);
        run.Ui().AnswerNextBox(ui::Answer::Yes);  // "Display folder names?"
        const std::string listing = run.List();
        EXPECT_TRUE(Has(listing, "; its files are not listed." + std::string(kCrLf)));
        EXPECT_GT(run.Report().NumFilesProcessed(), 0);
        EXPECT_LT(run.Report().NumFilesProcessed(), kFiles);
        EXPECT_TRUE(Has(listing, "Number of files: "));

        report = run.Purge();
        purgedFirst = run.Report().lngNumFilesPurged;
    }
    EXPECT_GT(purgedFirst, 0);
    EXPECT_LT(purgedFirst, kFiles);
    EXPECT_EQ(Occurrences(report, "Cannot read folder C:\\deep\\d\\"), 1u);
    EXPECT_TRUE(Has(report, "; its files are not purged." + std::string(kCrLf)));
    EXPECT_TRUE(Has(report, "Number of files purged: " + std::to_string(purgedFirst) + kCrLf));
    EXPECT_FALSE(Has(report, "Purge operation was stopped."));

    // The rest, with handles enough.
    run.Select("C:\\deep\\", "*.*", true);
    run.Purge();
    EXPECT_EQ(purgedFirst + run.Report().lngNumFilesPurged, kFiles);
    EXPECT_TRUE(fs::is_empty(remover.native));
}

// Only the deepest levels of a walk hold their folders open; one further up
// is opened again, on the way back, from the subfolder just left, and only
// while it is still that folder's parent. Here another user moves a
// subtree out of the tree from under a closed level while the purge is
// deep inside it: the subtree, held open, is finished, and each level above
// that can no longer be reached gets its line instead of the walk going on
// wherever the subtree now lies.
TEST(RunSafety, ASubtreeMovedFromUnderAClosedLevelEndsTheWalkAboveItWithALineEach) {
    constexpr int kDepth = 400;
    constexpr int kMovedLevel = 101;
    RunProgram run;
    FakeLibrary library;
    run.Drives().WriteFile("C:\\keep.txt", "beside the tree");
    run.Drives().MakeFolder("C:\\deep");
    const DeepTreeRemover remover{run.Drives().Native("C:\\deep")};
    const DeepTreeRemover movedRemover{run.Drives().Native("C:\\moved")};
    MakeDeepTree(remover.native, kDepth, 100);
    std::string above;  // native path of the level the subtree is moved from
    for (int level = 1; level < kMovedLevel; ++level) above += "/d";
    library.onCall = [&](const std::string&) {
        if (library.calls.size() != 2) return;
        fs::rename(remover.native + above + "/d", run.Drives().Native("C:\\moved"));
    };
    run.Select("C:\\deep\\", "*.*", true);
    run.SetPurgeType(0, 1);
    run.Options().chkDeleteEmptyFolders.SetValue(1);

    const std::string& report = run.Purge();

    EXPECT_EQ(run.Report().lngNumFilesPurged, kDepth / 100);
    std::string lost = "C:\\deep\\";
    for (int level = 1; level < kMovedLevel; ++level) lost += "d\\";
    EXPECT_TRUE(Has(report, std::string(kCrLf) + "Cannot read folder " + lost +
                                " again; the rest of it is not purged." + kCrLf));
    EXPECT_EQ(Occurrences(report, " again; the rest of it is not purged."),
              static_cast<std::size_t>(kMovedLevel - 1));
    EXPECT_TRUE(fs::is_directory(remover.native + above));
    EXPECT_TRUE(fs::is_empty(run.Drives().Native("C:\\moved")));
    EXPECT_EQ(run.Drives().ReadFile("C:\\keep.txt"), "beside the tree");
}

// Another user swaps a subfolder of the tree and a link to a victim folder,
// over and over, while the purge runs. Whichever way each swap falls, the
// run purges files of the tree or none; it never reaches the victim.
TEST(RunSafety, AFolderSwappedForALinkDuringThePurgeNeverLeadsOutOfTheTree) {
    constexpr int kFiles = 400;
    constexpr int kVictims = 100;
    for (int attempt = 0; attempt < 3; ++attempt) {
        RunProgram run;
        for (int i = 0; i < kVictims; ++i) {
            run.Drives().WriteFile("C:\\victim\\v" + std::to_string(i) + ".txt", "victim data");
        }
        for (int i = 0; i < kFiles; ++i) {
            run.Drives().WriteFile("C:\\tree\\sub\\s" + std::to_string(i) + ".txt", "tree data");
        }
        const std::string tree = run.Drives().Native("C:\\tree");
        fs::create_directory_symlink(run.Drives().Native("C:\\victim"), tree + "/swap");
        run.Select("C:\\tree\\", "*.*", true);
        run.SetPurgeType(0, 1);

        std::atomic<bool> done{false};
        std::atomic<int> swaps{0};
        std::thread swapper([&] {
            const std::string sub = tree + "/sub";
            const std::string swap = tree + "/swap";
            while (!done) {
                if (::renameat2(AT_FDCWD, sub.c_str(), AT_FDCWD, swap.c_str(),
                                RENAME_EXCHANGE) == 0) {
                    ++swaps;
                }
            }
        });
        const std::string report = run.Purge();
        done = true;
        swapper.join();

        EXPECT_GT(swaps.load(), 0);
        for (int i = 0; i < kVictims; ++i) {
            const std::string name = "C:\\victim\\v" + std::to_string(i) + ".txt";
            ASSERT_TRUE(run.Drives().Exists(name)) << name << " attempt " << attempt;
            ASSERT_EQ(run.Drives().ReadFile(name), "victim data") << name;
        }
        EXPECT_FALSE(Has(report, "\r\nv1")) << "no victim file is in the report";
        EXPECT_LE(run.Report().lngNumFilesPurged, kFiles);
    }
}
