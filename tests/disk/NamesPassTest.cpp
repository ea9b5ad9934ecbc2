// The names pass at the end of a wipe: on a real ext4 image (needs root)
// no name of a file deleted before the wipe is left in the raw bytes; with
// the pass's service faked, it deletes everything it made however it ends
// (done, out of entries, stopped with F10, failing), says so in the
// report, and a folder of its that a killed program left behind is found
// and deleted at the next start.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#include "app/Forms.h"
#include "disk/FillLeftovers.h"
#include "disk/frmFillDisk.h"
#include "platform/EntryChurn.h"
#include "platform/FileSystem.h"
#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/MountSupport.h"

#ifdef DeleteFile
// windows.h's name for DeleteFileA, which would hide the churn's own.
#undef DeleteFile
#endif

using testing_support::Mount;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

std::size_t Occurrences(const std::string& raw, const std::string& text) {
    std::size_t n = 0;
    for (auto at = raw.find(text); at != std::string::npos; at = raw.find(text, at + 1)) ++n;
    return n;
}

std::vector<std::string> EntriesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class NamesPass : public ::testing::Test {
  protected:
    // The whole wipe of D, every question answered so that it goes on.
    void WipeD(std::vector<std::string> excluded = {}) {
        wipe.Run().SetPurgeType(0, 1);
        wipe.ChooseDrive('D');
        wipe.Exclude(std::move(excluded), false);
        wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
        ending = WipeDisk();
    }
    std::string Report() { return wipe.Run().Report().ReportText(); }
    std::string D() { return wipe.Drives().Root('D'); }

    disk_testing::WipeProgram wipe{false};
    DiskWipeEnding ending = DiskWipeEnding::Ended;
};

#ifndef _WIN32
// Eight files deleted before the wipe leave their names in the journal
// (and their folder's blocks) of a small ext4; the fill and the run alone
// do not reach the journal.
TEST_F(NamesPass, NoNameOfAFileDeletedBeforeTheWipeIsLeftOnAnExt4Image) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system";
    const std::string image = wipe.Drives().Native("C:\\disk.img");
    wipe.Run().WriteSparseFile("C:\\disk.img", 16 << 20);
    if (!testing_support::Shell("mkfs.ext4 -q -F -b 1024 '" + image + "' >/dev/null 2>&1")) {
        GTEST_SKIP() << "no mkfs.ext4";
    }
    Mount drive("'" + image + "'", "-o loop", D());
    if (!drive.Mounted()) GTEST_SKIP() << "cannot mount a loop device here";
    const std::string secret = "confidential-merger-plan-" + std::to_string(::getpid());
    auto& drives = wipe.Drives();
    for (int i = 0; i < 8; ++i) {
        drives.WriteFile("D:\\private\\" + secret + "-" + std::to_string(i) + ".doc", "x");
    }
    drives.WriteFile("D:\\keep\\kept-" + secret + ".doc", "kept");
    ::sync();
    ASSERT_TRUE(testing_support::Shell("rm -rf '" + drives.Native("D:\\private") + "'"));
    ::sync();
    ASSERT_GT(Occurrences(testing_support::ReadNative(image), secret + "-0.doc"), 0u);

    WipeD({"D:\\keep"});
    EXPECT_EQ(ending, DiskWipeEnding::Ran) << Report();
    EXPECT_NE(Report().find("entries with random names were written on Drive D:"),
              std::string::npos)
        << Report();
    EXPECT_EQ(EntriesIn(D()), (std::vector<std::string>{"keep", "lost+found"}));
    ASSERT_TRUE(drive.Unmount());

    const std::string raw = testing_support::ReadNative(image);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Occurrences(raw, secret + "-" + std::to_string(i) + ".doc"), 0u) << i;
    }
    EXPECT_GT(Occurrences(raw, "kept-" + secret + ".doc"), 0u);
}
#endif

// The system's own empty files: made only where nothing is (never through
// a link planted under the name, nor over a file), and deleted only while
// the name still leads to the file that was made.
TEST_F(NamesPass, EmptyFilesAreMadeOnlyWhereNothingIsAndDeletedOnlyWhileStillTheirs) {
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\taken", "data");
    auto root = platform::Files().OpenFolder("D:\\");
    ASSERT_TRUE(root);
    auto churn = platform::MakeSystemEntryChurn();
    platform::FileFailure failure;
    EXPECT_FALSE(churn->MakeEmptyFile(*root, "taken", failure));
    EXPECT_TRUE(failure.nameTaken);
    EXPECT_EQ(drives.ReadFile("D:\\taken"), "data");
#ifndef _WIN32
    fs::create_symlink(drives.Native("D:\\target"), drives.Native("D:\\planted"));
    failure = {};
    EXPECT_FALSE(churn->MakeEmptyFile(*root, "planted", failure));
    EXPECT_TRUE(failure.nameTaken);
    EXPECT_FALSE(drives.Exists("D:\\target"));
#endif

    const auto made = churn->MakeEmptyFile(*root, "made", failure);
    const auto other = churn->MakeEmptyFile(*root, "other", failure);
    ASSERT_TRUE(made && other);
    fs::rename(drives.Native("D:\\other"), drives.Native("D:\\made"));
    EXPECT_FALSE(churn->DeleteFile(*root, "made", *made));
    EXPECT_TRUE(drives.Exists("D:\\made"));
    EXPECT_TRUE(churn->DeleteFile(*root, "made", *other));
    EXPECT_FALSE(drives.Exists("D:\\made"));
}

class NamesPassCounted : public ::testing::Test {
  protected:
    NamesPassCounted() { wipe.Sizes().sizes['D'] = {1 << 20, 8 << 20}; }
    disk_testing::WipeProgram wipe;
    disk_testing::CountedChurn& Churn() { return wipe.Counting()->churn; }
    void WipeD() {
        wipe.ChooseDrive('D');
        wipe.Exclude({}, false);
        wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
        ending = WipeDisk();
    }
    std::string Report() { return wipe.Run().Report().ReportText(); }
    std::string D() { return wipe.Drives().Root('D'); }
    DiskWipeEnding ending = DiskWipeEnding::Ended;
};

// Bounded by the entries the file system has left, or by what it wrote
// against its journal's size; every entry and the folder are gone after.
TEST_F(NamesPassCounted, ThePassStopsAtTheFreeEntriesOrItsLimitAndLeavesNothing) {
    Churn().freeEntries = 100;
    Churn().logBytes = 1 << 20;
    wipe.Drives().WriteFile("D:\\a.dat", "data");
    WipeD();
    EXPECT_EQ(ending, DiskWipeEnding::Ran) << Report();
    EXPECT_TRUE(EntriesIn(D()).empty());
    // Made and deleted again and again, each time until the entries ran
    // out, until twice the journal was written at 512 bytes an entry.
    EXPECT_GE(Churn().made, 4096u);
    EXPECT_LT(Churn().made, 4096u + 100);
    EXPECT_GT(Churn().syncs, 40);
    EXPECT_NE(Report().find("entries with random names were written on Drive D:"),
              std::string::npos)
        << Report();
    EXPECT_TRUE(FindFillLeftovers().empty());
}

// Where the log's own writes are counted, the pass writes it through once
// and an eighth, in rounds of 512 entries, rather than twice by the disk.
TEST_F(NamesPassCounted, ACountedLogIsWrittenThroughOnceAndAnEighth) {
    Churn().logBytes = 1 << 20;
    Churn().logPerEntry = 1024;
    WipeD();
    EXPECT_EQ(ending, DiskWipeEnding::Ran) << Report();
    EXPECT_GE(Churn().made, 1152u);
    EXPECT_LE(Churn().made, 1536u + 2);
    EXPECT_TRUE(EntriesIn(D()).empty());
}

TEST_F(NamesPassCounted, F10StopsThePassWhichDeletesItsEntriesAndSaysSo) {
    Churn().logBytes = 64 << 20;
    Churn().afterEntry = [this] {
        if (Churn().made == 300) Forms().FillDisk().RaiseKeyUp(frmFillDisk::kKeyF10);
    };
    WipeD();
    EXPECT_EQ(ending, DiskWipeEnding::RanOldDataLeft);
    EXPECT_LT(Churn().made, 400u);
    EXPECT_TRUE(EntriesIn(D()).empty());
    EXPECT_NE(Report().find("was stopped after"), std::string::npos) << Report();
    EXPECT_TRUE(FindFillLeftovers().empty());
}

TEST_F(NamesPassCounted, AFailingFileSystemEndsThePassLoudlyWithNothingLeft) {
    Churn().logBytes = 64 << 20;
    Churn().failAfter = 50;
    WipeD();
    EXPECT_EQ(ending, DiskWipeEnding::RanOldDataLeft);
    EXPECT_TRUE(EntriesIn(D()).empty());
    EXPECT_NE(Report().find("could not be overwritten ("), std::string::npos) << Report();
    EXPECT_NE(Report().find("entries written): Input/output error"), std::string::npos);
}

// A program killed during the pass leaves its folder recorded: the next
// start finds it and deletes it with the empty entries it holds, but never
// a file with other names, nor a folder whose name now leads elsewhere.
TEST_F(NamesPassCounted, AFolderOfAKilledPassIsFoundAndDeletedAtTheNextStart) {
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\dummy7\\" + std::string(200, 'q'), "");
    drives.WriteFile("D:\\dummy7\\" + std::string(210, 'r') + "\\" + std::string(220, 's'), "");
    drives.WriteFile("D:\\dummy8\\linked", "");
    fs::create_hard_link(drives.Native("D:\\dummy8\\linked"), drives.Native("D:\\elsewhere"));
    auto seven = platform::Files().Look("D:\\dummy7");
    auto eight = platform::Files().Look("D:\\dummy8");
    ASSERT_TRUE(seven && eight);
    ASSERT_TRUE(RecordNamesFolder("d:\\dummy7", seven->identity));
    ASSERT_TRUE(RecordNamesFolder("d:\\dummy8", eight->identity));
    ASSERT_TRUE(RecordNamesFolder("d:\\dummy9", seven->identity));

    auto leftovers = FindFillLeftovers();
    ASSERT_EQ(leftovers.size(), 2u);
    EXPECT_NE(FillLeftoversList(leftovers, "\n").find("d:\\dummy7 (a folder of empty files)"),
              std::string::npos);
    EXPECT_EQ(DeleteFillLeftovers(leftovers), (std::vector<std::string>{"d:\\dummy8"}));
    EXPECT_FALSE(drives.Exists("D:\\dummy7"));
    EXPECT_TRUE(drives.Exists("D:\\elsewhere"));
    EXPECT_TRUE(FindFillLeftovers().empty());
}

}  // namespace
