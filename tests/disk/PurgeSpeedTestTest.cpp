// The drive selection and the purge speed test, headless: result codes and
// messages of the drive dialog, the floppy rules, the test file, the pass
// labels, the timing with a clock the test moves, the result message and
// the speed the listing then uses.
#include <gtest/gtest.h>

#include <filesystem>

#include "disk/FillLeftovers.h"
#include "disk/PurgeSpeedTest.h"
#include "disk/frmSpecifyDrive.h"
#include "platform/FileSystem.h"
#include "support/NativeFiles.h"
#include "tests/disk/DiskTestSupport.h"
#include "tests/purge/RunTestSupport.h"

namespace {

const char* const kTitle = "Test purge speed";

// Plays the drive dialog: picks `letter` (or leaves the preselection when
// 0) and accepts, or cancels; notes the drive it opened on.
void ChooseDrive(ui::HeadlessUi& ui, char letter, bool accept, std::string* openedOn = nullptr) {
    ui.OnModal("frmSpecifyDrive", [=](ui::Form& form) {
        auto& dialog = static_cast<frmSpecifyDrive&>(form);
        if (openedOn) *openedOn = dialog.CurrentDrive();
        if (letter) dialog.SetCurrentDrive(std::string(1, letter) + ":");
        (accept ? dialog.cmdAccept : dialog.cmdCancel).RaiseClick();
    });
}

class SpeedTest : public ::testing::Test {
  protected:
    SpeedTest() : run("ACD") {
        run.Ui().OnModal("frmFillDisk", [](ui::Form&) {});
        SetStopWatchClockForTesting([this] { return clock; });
        // Each call of the purge library takes `secondsPerPass` on the clock.
        library.onCall = [this](const std::string&) {
            labels.push_back(run.Main().lblPurgeSpeed.Caption());
            clock += secondsPerPass;
        };
    }
    ~SpeedTest() override { SetStopWatchClockForTesting(nullptr); }

    void Test(char letter) {
        run.Ui().AnswerNextBox(ui::Answer::Yes);
        ChooseDrive(run.Ui(), letter, true);
        run.Main().cmdPurgeSpeed.RaiseMouseUp();
    }

    run_testing::RunProgram run;
    disk_testing::DriveOverrides drives;
    run_testing::FakeLibrary library;
    double clock = 1000;
    double secondsPerPass = 0.5;
    std::vector<std::string> labels;
};

TEST_F(SpeedTest, ThreePassesAreTimedLabelledAndTheSpeedServesTheListing) {
    run.SetPurgeType(0, 3);
    secondsPerPass = 10;
    Test('C');
    EXPECT_EQ(labels, (std::vector<std::string>{"Testing 1__", "Testing 12_", "Testing 123"}));
    EXPECT_EQ(run.Ui().LastBox().title, kTitle);
    EXPECT_EQ(run.Ui().LastBox().text,
              "Time to purge a 1 MB file on Drive C: using 3 overwrites is 30.0 seconds.\r\n"
              "The purge speed is thus approximately 0.100 MB/sec. for a single overwrite.\r\n\r\n"
              "It thus requires, using this type of purge, approximately\r\n"
              "5 minutes to purge 10 MB, 51 minutes to purge 100 MB\r\n"
              "and 8 hours and 33 minutes to purge 1 GB.\r\n\r\n"
              "To reduce the time required reduce the number of overwrites in the purge type.");
    EXPECT_EQ(run.Main().lblPurgeSpeed.Caption(), "0.100 MB/sec. (1 overwrite) for Drive C");
    EXPECT_FALSE(run.Main().lblPurgeSpeed.FontBold());
    EXPECT_FLOAT_EQ(run.Main().sngPurgeSpeed['C' - 'A'], 0.1f);
    EXPECT_EQ(run.Main().strLastDrive, "C:");
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy1")) << "the last pass deletes the test file";
    EXPECT_EQ(native_files::ReadWholeFile(FillRecordPath(), 1 << 20).value_or(""), "");

    run.WriteSparseFile("C:\\data\\big.bin", 2 << 20);
    run.Select("C:\\data\\", "*.*", false);
    EXPECT_NE(run.List().find("based on measured purge speed of 0.100 MB/sec."), std::string::npos);
}

TEST_F(SpeedTest, OnePassKeepsTheFirstLabelAndWritesAMegabyteTestFile) {
    run.SetPurgeType(0, 1);
    std::uintmax_t size = 0;
    library.onCall = [&](const std::string& name) {
        labels.push_back(run.Main().lblPurgeSpeed.Caption());
        size = std::filesystem::file_size(run.Drives().Native("D:\\" + name));
        clock += 0.25;
    };
    Test('D');
    EXPECT_EQ(labels, std::vector<std::string>{"Testing ..."});
    EXPECT_EQ(size, 1048576u);
    EXPECT_FLOAT_EQ(run.Main().sngPurgeSpeed['D' - 'A'], 4.0f);
}

TEST_F(SpeedTest, DriveARefusesMoreThanOneOverwriteBeforeTheDriveIsExamined) {
    drives['A'] = {platform::kObjectRemovable, platform::kDriveRemovable,
                   platform::kErrorDiskNotReady};
    Test('A');  // the default type overwrites more than once
    EXPECT_EQ(run.Ui().LastBox().text,
              "This purge speed test cannot be used with disks in Drives A or B\r\n"
              "unless the type of purge consists of only one overwrite.");
    EXPECT_EQ(run.Main().strLastDrive, "A:");
    EXPECT_TRUE(library.calls.empty());
}

TEST_F(SpeedTest, DriveAWithOneOverwriteWritesA100KbFileAndScalesTheTime) {
    drives['A'] = {platform::kObjectRemovable, platform::kDriveRemovable, 0};
    run.SetPurgeType(0, 1);
    std::uintmax_t size = 0;
    library.onCall = [&](const std::string& name) {
        size = std::filesystem::file_size(run.Drives().Native("A:\\" + name));
        clock += 1;
    };
    Test('A');
    EXPECT_EQ(size, 102400u);
    const std::string& text = run.Ui().LastBox().text;
    EXPECT_EQ(text.substr(0, 71),
              "Time to purge a 1 MB file on Drive A: using 1 overwrite is 10.2 seconds");
    EXPECT_NE(text.find("approximately\r\n14 seconds to purge 1.4 MB using 1 overwrites."),
              std::string::npos);
    EXPECT_FLOAT_EQ(run.Main().sngPurgeSpeed[0], 1 / 10.24f);
}

TEST_F(SpeedTest, ATimeTooShortToMeasureStoresNoSpeed) {
    secondsPerPass = 0;
    Test('C');
    EXPECT_NE(run.Ui().LastBox().text.find("too fast to measure"), std::string::npos);
    EXPECT_EQ(run.Main().sngPurgeSpeed['C' - 'A'], 0);
    EXPECT_EQ(run.Main().lblPurgeSpeed.Caption(), "");
}

TEST_F(SpeedTest, AFailedPurgeIsNeverReportedAsASpeed) {
    library.codes["dummy1"] = -3;
    Test('C');
    EXPECT_EQ(run.Ui().LastBox().text, "Error -3 when opening or writing to file.  Test aborted.");
    EXPECT_EQ(run.Main().sngPurgeSpeed['C' - 'A'], 0);
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy1"));
}

TEST_F(SpeedTest, ADiskThatFillsUpDuringTheTestFileIsAWriteError) {
    disk_testing::CountingFiles files;
    files.capacity = 4096;
    Test('C');
    EXPECT_EQ(run.Ui().LastBox().text,
              "An error was encountered in writing the test file c:\\dummy1.\r\n"
              "The test cannot be continued.");
    EXPECT_FALSE(run.Drives().Exists("C:\\dummy1"));
    EXPECT_EQ(run.Main().lblPurgeSpeed.Caption(), "");
}

TEST_F(SpeedTest, NoToTheQuestionDoesNothing) {
    run.Ui().AnswerNextBox(ui::Answer::No);
    run.Main().cmdPurgeSpeed.RaiseMouseUp();
    EXPECT_EQ(run.Ui().Boxes().size(), 1u);
    EXPECT_EQ(run.Main().strLastDrive, "");
}

TEST(PurgeSpeedMessage, LongTimesAreWrittenInWordsRoundedHalfToEven) {
    SetNumberStyleForTesting(NumberStyle{});
    std::string text = PurgeSpeedMessage("C:", 1, 224.6, false, -5);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "Time to purge a 1 MB file on Drive C: using 1 overwrite is 3 minutes and 45 "
              "seconds.");
    EXPECT_EQ(text.substr(text.size() - 29), "(Unable to delete test file.)");
    SetNumberStyleForTesting(std::nullopt);
}

class DriveSelection : public ::testing::Test {
  protected:
    DriveSelection() : run("CDE") {}
    std::int16_t Select(std::string& drive) {
        return SelectDrive(run.Windows().SpecifyDrive(), 100, 100, 1500, 128, drive, freeBytes,
                           totalBytes);
    }
    run_testing::RunProgram run;
    disk_testing::DriveOverrides drives;
    double freeBytes = -7, totalBytes = -8;
};

TEST_F(DriveSelection, CancelReturnsMinusOneAndLeavesTheSizesAsPassed) {
    std::string drive = "D:";
    ChooseDrive(run.Ui(), 'E', false);
    EXPECT_EQ(Select(drive), kDriveCancelled);
    EXPECT_EQ(drive, "D:");
    EXPECT_EQ(freeBytes, -7);
    EXPECT_EQ(totalBytes, -8);
}

TEST_F(DriveSelection, AnAcceptedDriveIsMeasured) {
    std::string drive = "C:";
    ChooseDrive(run.Ui(), 'E', true);
    EXPECT_EQ(Select(drive), kDriveAccepted);
    EXPECT_EQ(drive, "e:");
    EXPECT_GT(freeBytes, 0);
    EXPECT_GE(totalBytes, freeBytes);
}

TEST_F(DriveSelection, APreselectedDriveThatIsGoneOpensOnTheFirstFixedDrive) {
    std::string drive = "Q:", openedOn;
    ChooseDrive(run.Ui(), 0, false, &openedOn);
    EXPECT_EQ(Select(drive), kDriveCancelled);
    EXPECT_EQ(openedOn, "c:");
    EXPECT_EQ(drive, "C:");
}

TEST_F(DriveSelection, DrivesThatCannotBeUsedGiveTheirCodesAndMessages) {
    drives['D'] = {platform::kObjectRemovable, platform::kDriveRemovable,
                   platform::kErrorDiskNotReady};
    drives['E'] = {platform::kObjectCdRom, platform::kDriveCdRom, 0};
    std::string drive = "C:";
    ChooseDrive(run.Ui(), 'D', true);
    EXPECT_EQ(Select(drive), kDriveNoDisk);
    EXPECT_EQ(SelectDriveMessage(kDriveNoDisk, "D:"), "There is no disk in Drive D:.");
    ChooseDrive(run.Ui(), 'E', true);
    EXPECT_EQ(Select(drive), kDriveNotFixedOrRemovable);
    EXPECT_EQ(drive, "e:");
    EXPECT_EQ(SelectDriveMessage(kDriveNotFixedOrRemovable, "E:"),
              "The disk in Drive E: is not a fixed or removable disk.");
    drives['E'].objectType = platform::kObjectNetwork;
    EXPECT_EQ(Select(drive), kDriveNotFixedOrRemovable);
    EXPECT_EQ(freeBytes, -7);
}

}  // namespace
