// The fill window headless: dummy files of the right sizes and names, the
// progress texts, F10 and its questions, full disks and other failures, the
// file system's reserve, and the record of the files written. The bytes
// are counted, not written (DiskTestSupport.h); the files themselves are
// real, on a temporary drive.
#include <gtest/gtest.h>

#include <filesystem>

#include "disk/FillLeftovers.h"
#include "disk/frmFillDisk.h"
#include "platform/FileSystem.h"
#include "support/NativeFiles.h"
#include "tests/disk/DiskTestSupport.h"
#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

constexpr std::uint64_t kLimit = frmFillDisk::kDummyFileBytes;
constexpr std::uint64_t kMiB = 1 << 20;

class FillDiskTest : public ::testing::Test {
  protected:
    FillDiskTest() {
        run.Ui().OnModal("frmFillDisk", [](ui::Form&) {});
    }
    frmFillDisk& Fill() { return run.Windows().FillDisk(); }
    void RunFill(double freeBytes, bool fillMode = true, std::int32_t testBytes = 0) {
        Fill().blnFillDisk = fillMode;
        Fill().strDrive = "C:";
        Fill().dblFreeSpace = freeBytes;
        Fill().lngFilesize = testBytes;
        Fill().ShowModal();
    }
    std::string Record() {
        return native_files::ReadWholeFile(FillRecordPath(), 1 << 20).value_or("");
    }
    // Presses F10 at the given DoEvents of the fill.
    void PressF10At(int when) {
        run.Ui().OnDoEvents = [this, when, count = 0]() mutable {
            if (++count == when) Fill().RaiseKeyUp(frmFillDisk::kKeyF10);
        };
    }

    run_testing::RunProgram run;
    disk_testing::CountingFiles files;
    disk_testing::FakeReserve reserve;
};

TEST_F(FillDiskTest, WritesOneFileUpToTheFreeSpaceInWholeBlocks) {
    RunFill(1000000);
    EXPECT_EQ(files.created, std::vector<std::string>{"dummy1"});
    EXPECT_EQ(files.sizes["dummy1"], 1000448u);  // 1954 blocks
    EXPECT_EQ(files.flushed, std::vector<std::string>{"dummy1"});
    EXPECT_EQ(Fill().strDummyFile, "c:\\dummy1");
    EXPECT_FALSE(Fill().blnStopp);
    EXPECT_FALSE(Fill().Visible());
    EXPECT_TRUE(run.Ui().Boxes().empty()) << run.Ui().LastBox().text;
    EXPECT_EQ(Fill().lblLabel.Caption(),
              "A dummy file is being written to fill the disk in Drive C:\r\nBytes written: "
              "1,000,448");
}

TEST_F(FillDiskTest, EveryFileButTheLastHoldsTheLimitAndTheDiskEndsFullToItsLastBlock) {
    files.capacity = 2 * kLimit + 1000;
    RunFill(3.0 * kLimit);
    EXPECT_EQ(files.created, (std::vector<std::string>{"dummy1", "dummy2", "dummy3"}));
    EXPECT_EQ(files.sizes["dummy1"], kLimit);
    EXPECT_EQ(files.sizes["dummy2"], kLimit);
    EXPECT_EQ(files.sizes["dummy3"], 512u);  // smaller writes reach the last whole block
    EXPECT_EQ(files.flushed.size(), 3u);
    EXPECT_TRUE(run.Ui().Boxes().empty()) << "a full disk ends a fill without a word";
    EXPECT_EQ(Fill().strDummyFile, "c:\\dummy3");
}

TEST_F(FillDiskTest, ProgressTextsForOneFileAndForManyWithTheF10Hint) {
    files.capacity = 2 * kMiB;
    RunFill(kLimit);
    EXPECT_EQ(Fill().lblLabel.Caption(),
              "Dummy files are being written to fill the disk in Drive C:\r\n\r\n"
              "To interrupt this operation press the F10 key twice (and wait a bit).\r\n"
              "Bytes written: 2,097,152");
    files.written = 0;
    RunFill(kLimit - 1);
    EXPECT_EQ(Fill().lblLabel.Caption().substr(0, 58),
              "A dummy file is being written to fill the disk in Drive C:");
}

TEST_F(FillDiskTest, NoFreeSpaceIsSaidAndNothingIsWritten) {
    RunFill(0);
    EXPECT_TRUE(files.created.empty());
    EXPECT_EQ(run.Ui().LastBox().text, "No free space on the disk in Drive C:.");
    EXPECT_EQ(run.Ui().LastBox().title, "Disk full");
}

TEST_F(FillDiskTest, DummyFileNamesSkipEveryExistingEntryAndNeverFollowALink) {
    if (!testing_support::kHasFifosAndLinks) GTEST_SKIP() << testing_support::kNoFifosAndLinks;
    run.Drives().WriteFile("C:\\victim.txt", "keep me");
    run.MakeLink("C:\\dummy1", run.Drives().Native("C:\\victim.txt"));
    run.Drives().MakeFolder("C:\\dummy2");
    EXPECT_EQ(NextFreeFileName("C:\\dummy"), "C:\\dummy3");
    RunFill(4096);
    EXPECT_EQ(files.created, std::vector<std::string>{"dummy3"});
    EXPECT_EQ(run.Drives().ReadFile("C:\\victim.txt"), "keep me");
    EXPECT_TRUE(std::filesystem::is_symlink(run.Drives().Native("C:\\dummy1")));
}

TEST_F(FillDiskTest, F10ThenNoGoesOnWriting) {
    PressF10At(2);
    run.Ui().AnswerNextBox(ui::Answer::No);
    RunFill(4.0 * kMiB);
    EXPECT_EQ(run.Ui().Boxes().at(0).title, "Cancel?");
    EXPECT_EQ(run.Ui().Boxes().at(0).text, "Do you wish to cancel this operation?");
    EXPECT_FALSE(Fill().blnStopp);
    EXPECT_EQ(files.sizes["dummy1"], 4 * kMiB);
}

TEST_F(FillDiskTest, F10ThenYesThenNoKeepsThePartialFileRecordedAndLeavesTheStopSet) {
    PressF10At(2);
    run.Ui().AnswerNextBox(ui::Answer::Yes);
    run.Ui().AnswerNextBox(ui::Answer::No);
    RunFill(8.0 * kMiB);
    ASSERT_EQ(run.Ui().Boxes().size(), 2u);
    EXPECT_EQ(run.Ui().Boxes()[1].title, "Delete dummy file?");
    EXPECT_EQ(run.Ui().Boxes()[1].text, "Do you wish to delete the dummy file written so far?");
    EXPECT_TRUE(Fill().blnStopp);
    EXPECT_FALSE(Fill().Visible());
    EXPECT_EQ(files.sizes["dummy1"], 2 * kMiB);
    EXPECT_TRUE(run.Drives().Exists("C:\\dummy1"));
    EXPECT_NE(Record().find("c:\\dummy1"), std::string::npos);
}

TEST_F(FillDiskTest, F10ThenYesThenYesDeletesOnlyTheFileBeingWritten) {
    files.afterWrite = [this] {
        if (files.sizes.size() == 2 && files.sizes["dummy2"] == 2 * kMiB) {
            Fill().RaiseKeyUp(frmFillDisk::kKeyF10);
        }
    };
    run.Ui().AnswerNextBox(ui::Answer::Yes);
    run.Ui().AnswerNextBox(ui::Answer::Yes);
    RunFill(2.0 * kLimit);
    EXPECT_TRUE(run.Drives().Exists("C:\\dummy1"));
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy2"));
    EXPECT_NE(Record().find("c:\\dummy1"), std::string::npos);
    EXPECT_EQ(Record().find("c:\\dummy2"), std::string::npos);
}

TEST_F(FillDiskTest, AnAbandonedFillDeletesEveryFileItWrote) {
    run.Ui().OnDoEvents = [this] {
        if (files.created.size() == 2) Fill().AbandonFill();
    };
    RunFill(3.0 * kLimit);
    EXPECT_TRUE(Fill().blnStopp);
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy1"));
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy2"));
    EXPECT_EQ(Record().find("dummy"), std::string::npos);
}

TEST_F(FillDiskTest, AnyOtherErrorEndsTheFillWithItsReasonForTheCallerAndTheFilesStay) {
    files.failAfter = 3 * kMiB;
    RunFill(8.0 * kMiB);
    EXPECT_EQ(Fill().strFailure, "Input/output error");
    EXPECT_TRUE(run.Ui().Boxes().empty()) << "the wipe says it, with what it means";
    EXPECT_TRUE(run.Drives().Exists("C:\\dummy1"));
    EXPECT_FALSE(Fill().Visible());

    // The speed test's file: the window says it itself.
    files.failAfter = files.written;
    RunFill(8.0 * kMiB, false, 1048576);
    EXPECT_EQ(run.Ui().LastBox().text, "Error: Input/output error");
    EXPECT_EQ(run.Ui().LastBox().title, "Error");
    EXPECT_EQ(run.Ui().LastBox().icon, ui::Icon::Exclamation);

    RunFill(1.0 * kMiB);
    EXPECT_EQ(Fill().strFailure, "Input/output error");
    files.failAfter = UINT64_MAX;
    RunFill(1.0 * kMiB);
    EXPECT_EQ(Fill().strFailure, "") << "each fill starts afresh";
}

TEST_F(FillDiskTest, ARecordThatCannotBeWrittenWritesNothingAndLowersNoReserve) {
    // A folder where the record belongs: nothing may be written unrecorded.
    std::filesystem::remove(FillRecordPath());
    std::filesystem::create_directory(FillRecordPath());
    reserve.bytes = kMiB;
    RunFill(8.0 * kMiB);
    EXPECT_NE(Fill().strFailure.find("cannot be recorded"), std::string::npos) << Fill().strFailure;
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy1"));
    EXPECT_TRUE(reserve.log.empty()) << reserve.log.front();
    std::filesystem::remove(FillRecordPath());
}

TEST_F(FillDiskTest, TheFileSystemIsSyncedBeforeAnyDummyFileIsDeleted) {
    RunFill(2.0 * kLimit + kMiB);
    ASSERT_EQ(files.steps, std::vector<std::string>{"sync"});
    Fill().DeleteDummyFilesLeft();
    EXPECT_EQ(files.steps, (std::vector<std::string>{"sync", "delete dummy1", "delete dummy2",
                                                     "delete dummy3"}));

    files.steps.clear();
    run.Ui().OnDoEvents = [this] {
        if (files.created.size() == 5) Fill().AbandonFill();
    };
    RunFill(3.0 * kLimit);
    ASSERT_FALSE(files.steps.empty());
    EXPECT_EQ(files.steps.front(), "sync");
}

TEST_F(FillDiskTest, TheReserveIsRecordedLoweredForTheFillAndRestoredHoweverItEnds) {
    reserve.bytes = kMiB;
    files.afterWrite = [this] {
        if (files.written == kMiB) {
            EXPECT_NE(Record().find("reserve\tfake 1048576"), std::string::npos);
        }
    };
    RunFill(1.0 * kMiB);
    EXPECT_EQ(files.sizes["dummy1"], 2 * kMiB) << "the space the reserve gave is filled too";
    EXPECT_EQ(reserve.log,
              (std::vector<std::string>{"lower fake 1048576", "restore fake 1048576"}));
    EXPECT_EQ(Record().find("reserve"), std::string::npos);

    reserve.log.clear();
    files.failAfter = files.written + 512;
    RunFill(4.0 * kMiB);
    EXPECT_EQ(reserve.log.back(), "restore fake 1048576");
}

TEST_F(FillDiskTest, SpaceTheFileSystemKeptOutOfReachIsReported) {
    files.capacity = 3 * kMiB;
    reserve.freeAfterwards = 8192;
    RunFill(16.0 * kMiB);
    EXPECT_EQ(Fill().dblUnreachedBytes, 8192);
    EXPECT_EQ(run.Ui().LastBox().title, "Fill disk");
    EXPECT_NE(run.Ui().LastBox().text.find("keeps 8,192 bytes out of reach"), std::string::npos);
}

TEST_F(FillDiskTest, FilesOwningNoMetadataGoOnInANewFileAndOneThatTakesNothingEndsTheFill) {
    files.bytesWithoutMetadata = 3 * kMiB + 512;
    Fill().blnOwnNoMetadata = true;
    RunFill(8.0 * kMiB);
    EXPECT_EQ(files.created, (std::vector<std::string>{"dummy1", "dummy2", "dummy3"}));
    EXPECT_EQ(files.sizes["dummy2"], 3 * kMiB + 512);
    EXPECT_EQ(files.sizes["dummy3"], 2 * kMiB - 1024);
    EXPECT_EQ(files.flushed.size(), 3u);
    EXPECT_EQ(Fill().strFailure, "");

    files.bytesWithoutMetadata = 0;
    RunFill(8.0 * kMiB);
    EXPECT_EQ(files.created.size(), 4u) << "one empty file, not one after another";
    EXPECT_EQ(Fill().strFailure, "no room without metadata");
}

TEST_F(FillDiskTest, TestModeWritesOneFlushedFileOfTheGivenSize) {
    RunFill(10.0 * kMiB, false, 102400);
    EXPECT_TRUE(Fill().bln1MbFileWritten);
    EXPECT_EQ(files.sizes["dummy1"], 102400u);
    EXPECT_EQ(files.flushed, std::vector<std::string>{"dummy1"});
    EXPECT_EQ(Fill().DummyEntry().name, "dummy1");

    files.capacity = files.written + 4096;  // the disk fills up during the test file
    RunFill(10.0 * kMiB, false, 1048576);
    EXPECT_FALSE(Fill().bln1MbFileWritten);
    EXPECT_TRUE(run.Ui().Boxes().empty());
}

TEST(FillLeftovers, DummyFilesOfAFillThatDidNotFinishAreOfferedAtTheNextStart) {
    SetNumberStyleForTesting(NumberStyle{});
    disk_testing::FakeReserve reserve;  // the machine's own disk keeps its reserve
    testing_support::ProgramHarness program;
    ASSERT_TRUE(program.Start());
    auto& fill = program.Windows().FillDisk();
    program.Ui().OnModal("frmFillDisk", [](ui::Form&) {});
    fill.blnFillDisk = true;
    fill.strDrive = "C:";
    fill.dblFreeSpace = 3 << 20;
    fill.ShowModal();  // and then the program dies: nobody purges the file
    ASSERT_TRUE(program.Drives().Exists("C:\\dummy1"));

    program.Ui().AnswerNextBox(ui::Answer::Yes);
    ASSERT_TRUE(program.Restart());
    EXPECT_EQ(program.Ui().LastBox().title, "Dummy files");
    EXPECT_NE(program.Ui().LastBox().text.find("c:\\dummy1 (3,145,728 bytes)\r\n"
                                               "Together they take 3,145,728 bytes."),
              std::string::npos)
        << program.Ui().LastBox().text;
    EXPECT_FALSE(program.Drives().Exists("C:\\dummy1"));

    program.Ui().ClearBoxes();
    ASSERT_TRUE(program.Restart());
    EXPECT_TRUE(program.Ui().Boxes().empty()) << "the question is put once";
    SetNumberStyleForTesting(std::nullopt);
}

// Answered "No", the leftovers are the user's to keep: the question is not
// put again at every start.
TEST(FillLeftovers, DummyFilesTheUserChoseToKeepAreNotOfferedAgain) {
    disk_testing::FakeReserve reserve;
    testing_support::ProgramHarness program;
    ASSERT_TRUE(program.Start());
    program.Drives().WriteFile("C:\\dummy1", "left by a fill");
    ASSERT_TRUE(RecordDummyFile("c:\\dummy1", platform::Files().Look("C:\\dummy1")->identity));

    program.Ui().AnswerNextBox(ui::Answer::No);
    ASSERT_TRUE(program.Restart());
    EXPECT_EQ(program.Ui().LastBox().title, "Dummy files");
    EXPECT_TRUE(program.Drives().Exists("C:\\dummy1"));

    program.Ui().ClearBoxes();
    ASSERT_TRUE(program.Restart());
    EXPECT_TRUE(program.Ui().Boxes().empty()) << program.Ui().LastBox().text;
    EXPECT_TRUE(program.Drives().Exists("C:\\dummy1"));
}

// The record lies in the user's folder, where other programs of the user,
// or of others when its folder lets them, can write: an entry names the
// file to delete, so only a dummy file of a fill is ever acted on.
TEST(FillLeftovers, AReserveAKilledFillLeftLoweredIsRestoredAtTheNextLook) {
    disk_testing::FakeReserve reserve;
    testing_support::ProgramHarness program;
    ASSERT_TRUE(program.Start());
    reserve.log.clear();
    ASSERT_TRUE(RecordReserve("fake 4096"));
    EXPECT_TRUE(FindFillLeftovers().empty());
    EXPECT_EQ(reserve.log, std::vector<std::string>{"restore fake 4096"});
    EXPECT_EQ(native_files::ReadWholeFile(FillRecordPath(), 1 << 20).value_or("?"), "");
}

TEST(FillLeftovers, ARecordNamingAnythingButADummyFileStillAsWrittenDeletesNothing) {
    disk_testing::FakeReserve reserve;
    testing_support::ProgramHarness program;
    ASSERT_TRUE(program.Start());
    auto& drives = program.Drives();
    drives.WriteFile("C:\\victim\\important.doc", "mine");
    drives.WriteFile("C:\\v.doc", "mine too");
    drives.WriteFile("C:\\dummy4", "not a fill's: it was never recorded as this file");
    drives.WriteFile("C:\\dummy5", std::string(600, 'x'));
    auto identity = [](const std::string& path) {
        auto entry = platform::Files().Look(path);
        return std::to_string(entry->identity.device) + "\t" +
               std::to_string(entry->identity.inode);
    };
    auto forge = [&](const std::string& text) {
        ASSERT_TRUE(native_files::ReplacePrivateFile(FillRecordPath(), text));
    };
    const std::string victim = identity("C:\\victim\\important.doc");
    forge("file\tc:\\victim\\important.doc\t" + victim + "\n" +  // not a dummy file
          "file\tc:\\dummy4\t" + victim + "\n" +                 // another file's identity
          "file\tc:\\victim\\dummy1\t" + victim + "\n" +         // not at the top
          "file\tc:\\dummy\\..\\v.doc\t" + identity("C:\\v.doc") + "\n");  // out of it
    program.Ui().AnswerNextBox(ui::Answer::Yes);
    ASSERT_TRUE(program.Restart());
    EXPECT_TRUE(program.Ui().Boxes().empty()) << program.Ui().LastBox().text;
    EXPECT_EQ(drives.ReadFile("C:\\victim\\important.doc"), "mine");
    EXPECT_TRUE(drives.Exists("C:\\dummy4"));
    EXPECT_EQ(drives.ReadFile("C:\\v.doc"), "mine too");

#ifndef _WIN32
    // A record others could have written is ignored whole, with a warning.
    forge("file\tc:\\dummy5\t" + identity("C:\\dummy5") + "\n");
    std::filesystem::permissions(FillRecordPath(), std::filesystem::perms::group_read,
                                 std::filesystem::perm_options::add);
    program.Ui().ClearBoxes();
    program.Ui().AnswerNextBox(ui::Answer::Yes);
    ASSERT_TRUE(program.Restart());
    ASSERT_EQ(program.Ui().Boxes().size(), 1u);
    EXPECT_NE(program.Ui().LastBox().text.find("is ignored: it is not a regular file of yours"),
              std::string::npos)
        << program.Ui().LastBox().text;
    EXPECT_TRUE(drives.Exists("C:\\dummy5"));

    // Nor is such a record taken over, as the user's own, by the next fill
    // that records a file of its own.
    program.Ui().ClearBoxes();
    ASSERT_TRUE(RecordDummyFile("c:\\dummy9", platform::Files().Look("C:\\dummy4")->identity));
    program.Ui().AnswerNextBox(ui::Answer::Yes);
    ASSERT_TRUE(program.Restart());
    EXPECT_TRUE(program.Ui().Boxes().empty()) << program.Ui().LastBox().text;
    EXPECT_TRUE(drives.Exists("C:\\dummy5"));

#endif
    // Written as the user's own, the same entry is a leftover to offer.
    forge("file\tc:\\dummy5\t" + identity("C:\\dummy5") + "\n");
    std::filesystem::permissions(
        FillRecordPath(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    program.Ui().ClearBoxes();
    program.Ui().AnswerNextBox(ui::Answer::Yes);
    ASSERT_TRUE(program.Restart());
    EXPECT_EQ(program.Ui().LastBox().title, "Dummy files");
    EXPECT_FALSE(drives.Exists("C:\\dummy5"));
}

}  // namespace
