// A disk wipe started from a host of its own, with no set of windows and no
// main window: what it asks of the window it starts from, and the run it
// builds; and the wipe's report says what its run did, whatever the user's
// own purge options are.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/Forms.h"
#include "disk/DiskProc.h"
#include "disk/DiskWipe.h"
#include "disk/WipeHost.h"
#include "disk/frmExcludedFolders.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "purge/RunHost.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmFileOps.h"
#include "purge/frmPurgeWarning.h"
#include "purge/frmReport.h"
#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/ProgramHarness.h"

namespace {

// Every window made here; the steps the window it starts from is told of
// are written down in order.
class TestWipeHost : public WipeHost, public RunHost {
  public:
    frmSpecifyDrive& SpecifyDrive() override { return drive; }
    frmExcludedFolders& ExcludedFolders() override { return excluded; }
    frmFillDisk& FillDisk() override { return fill; }
    frmAntiVirusQuery& AntiVirusQuery() override { return query; }
    frmReport& Report() override { return report; }
    RunHost& RunWindows() override { return *this; }
    ui::Form& Window() override { return window; }
    int DialogLeft() override { return 100; }
    int DialogTop() override { return 100; }
    PurgeRun RunNow() override { return now; }
    std::string LastDrive() override { return "D:"; }
    void DriveChosen(const std::string& D) override { steps += "drive " + D + ";"; }
    void TestPurgeSpeed() override { steps += "speed test;"; }
    void HideSelection() override { steps += "hide;"; }
    void ShowWipeSelection(const std::string& caption) override { steps += caption + ";"; }
    void ShowWholeDrive(const std::string& folder, bool subfolders) override {
        steps += "armed " + folder + (subfolders ? " with subfolders;" : ";");
    }
    void RunGoing(bool going) override { steps += going ? "run;" : "ran;"; }
    void WipeEnded(bool ran) override { steps += ran ? "ended after its run" : "ended"; }

    frmFileOps& FileOps() override { return fileOps; }
    frmPurgeWarning& PurgeWarning() override { return warning; }
    bool ConfirmFile(const std::string&, int, int) override {
        ADD_FAILURE() << "a wipe asks about no file";
        return false;
    }

    PurgeRun now;
    std::string steps;
    ui::Form window{"frmStart"};
    frmSpecifyDrive drive;
    frmExcludedFolders excluded;
    frmFillDisk fill;
    frmAntiVirusQuery query;
    frmReport report;
    frmFileOps fileOps;
    frmPurgeWarning warning;
};

class WipeFromValue : public ::testing::Test {
  protected:
    WipeFromValue() {
        sizes.sizes['D'] = {3 << 20, 8 << 20};
        counting.capacity = 3 << 20;
        ui->OnModal("frmSpecifyDrive", [](ui::Form& form) {
            auto& dialog = static_cast<frmSpecifyDrive&>(form);
            dialog.SetCurrentDrive("D:");
            dialog.cmdAccept.RaiseClick();
        });
        ui->OnModal("frmExcludedFolders", [this](ui::Form& form) {
            auto& dialog = static_cast<frmExcludedFolders&>(form);
            ui->AnswerNextFolderBrowse("D:\\keep");
            dialog.cmdAddFolder.RaiseClick();
            dialog.cmdClose.RaiseClick();
        });
        ui->OnModal("frmAntiVirusQuery", [](ui::Form& form) {
            static_cast<frmAntiVirusQuery&>(form).cmdNo.RaiseClick();
        });
        ui->OnModal("frmFillDisk", [](ui::Form&) {});
        // What the user chose for purges of their own, which a wipe does
        // not take.
        host.now.intPurgeType = 0;
        host.now.strPurgeTypeNumPasses = "random bytes once";
        host.now.blnDoNotDeletePurgedFiles = true;
        host.now.blnFolderNamesOnly = false;
        host.now.blnDeleteEmptyFolders = false;
        host.now.blnConfirmFiles = true;
    }

    testing_support::ProgramFiles files{testing_support::kStandardProgramText, "CD"};
    testing_support::HeadlessScope ui;
    disk_testing::SizedDrives sizes;
    disk_testing::CountingFiles counting;
    disk_testing::FakeReserve reserve;
    disk_testing::SystemOnlyTheProgramFolder system;
    TestWipeHost host;
};

TEST_F(WipeFromValue, TheWholeDriveIsPurgedButTheExcludedFolderWithoutAnyMainWindow) {
    auto& drives = files.Drives();
    drives.WriteFile("D:\\top.dat", "top");
    drives.WriteFile("D:\\a\\deep.dat", "deep");
    drives.WriteFile("D:\\keep\\k.dat", "kept");

    EXPECT_EQ(WipeDisk(host, {true}), DiskWipeEnding::Ran);

    EXPECT_FALSE(drives.Exists("D:\\top.dat"));
    EXPECT_FALSE(drives.Exists("D:\\a")) << "emptied folders removed";
    EXPECT_EQ(drives.ReadFile("D:\\keep\\k.dat"), "kept");
    const std::string& report = host.report.ReportText();
    EXPECT_NE(report.find("Purging all files in D:\\ (including all files\r\nin subfolders) using "
                          "random bytes once.\r\nExcept that files in the following folder"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("top.dat"), std::string::npos) << "folder names only";
    EXPECT_EQ(report.find("Purged files not deleted."), std::string::npos) << report;
    EXPECT_EQ(host.steps,
              "drive D:;hide;Purging all files on Drive D except those in 1 excluded folder.;"
              "armed D:\\ with subfolders;run;ran;ended after its run");
    EXPECT_EQ(host.report.Run().heldFolder, nullptr) << "the drive is let go";
    EXPECT_EQ(host.report.Run().lngClusterSizeByDrive['D' - 'A'], EstimateClusterSize("D"))
        << "no cluster size was chosen for the drive: its estimate";
    EXPECT_THROW(Forms(), std::logic_error) << "no set of windows was needed";
}

TEST_F(WipeFromValue, AClusterSizeChosenForTheDriveStands) {
    files.Drives().WriteFile("D:\\top.dat", "top");
    files.Drives().WriteFile("D:\\keep\\k.dat", "kept");
    ASSERT_NE(EstimateClusterSize("D"), 16384);
    host.now.lngClusterSizeByDrive['D' - 'A'] = 16384;

    EXPECT_EQ(WipeDisk(host, {true}), DiskWipeEnding::Ran);

    EXPECT_FALSE(files.Drives().Exists("D:\\top.dat"));
    EXPECT_EQ(host.report.Run().lngClusterSizeByDrive['D' - 'A'], 16384);
}

// The wipe deletes what it purges even while the user's purge confirmation
// is set not to: its report must not say otherwise.
TEST(WipeReport, SaysNothingOfFilesNotDeletedWhenTheUsersOptionIsSet) {
    disk_testing::WipeProgram wipe;
    wipe.Sizes().sizes['D'] = {3 << 20, 8 << 20};
    wipe.ChooseDrive('D');
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Run().Options().chkDoNotDeletePurgedFiles.SetValue(1);
    wipe.Exclude({}, false);
    wipe.Answer({ui::Answer::No, ui::Answer::OK, ui::Answer::OK, ui::Answer::OK, ui::Answer::OK});
    wipe.Wipe();

    EXPECT_FALSE(wipe.Drives().Exists("D:\\x.dat"));
    EXPECT_EQ(wipe.Run().Report().ReportText().find("Purged files not deleted."),
              std::string::npos);
}

}  // namespace
