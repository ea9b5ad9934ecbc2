// The question before a purge, the purge confirmation with its options and
// cluster size, and the purge advice dialog.
#include <gtest/gtest.h>

#include "app/frmMainRuns.h"
#include "disk/DiskProc.h"
#include "platform/DriveInfo.h"
#include "purge/StrProc.h"
#include "purge/frmPurgeWarning.h"
#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

using run_testing::RunProgram;

namespace {

std::string Question(RunProgram& run, const std::string& folder, const std::string& spec,
                     bool subfolders) {
    run.Select(folder, spec, subfolders);
    run.Main().blnMultipleFiles = HasWildcards(spec);
    return BuildPurgeQuestion(run.Main());
}

}  // namespace

TEST(PurgeQuestion, NamesTheFilesTheFolderAndTheSubfolders) {
    RunProgram run;
    run.Drives().WriteFile("C:\\d\\a.txt", "1");
    run.Drives().WriteFile("C:\\d\\b.txt", "2");
    run.Drives().WriteFile("C:\\d\\c.doc", "3");
    run.Drives().WriteFile("C:\\one\\x", "4");
    run.Drives().MakeFolder("C:\\none");

    EXPECT_EQ(Question(run, "C:\\d\\", "*.txt", false),
              "Are you sure that you want to purge the 2 files\r\nC:\\d\\*.txt ?\r\n"
              "(This will permanently destroy all data in these files.)");
    EXPECT_EQ(run.Main().intNumFiles, 2);
    EXPECT_EQ(Question(run, "C:\\d\\", "c.doc", false),
              "Are you sure that you want to purge the file\r\nC:\\d\\c.doc ?\r\n"
              "(This will permanently destroy all data in this file.)");
    EXPECT_EQ(Question(run, "C:\\d\\", "*.doc", true),
              "Are you sure that you want to purge the files\r\nC:\\d\\*.doc\r\n"
              "and all files of the form \"*.doc\" in all subfolders?\r\n"
              "(This will permanently destroy all data in these files.)");
    EXPECT_EQ(Question(run, "C:\\one\\", "*.*", false),
              "Are you sure that you want to purge the single file in \r\nC:\\one\\ ?\r\n"
              "(This will permanently destroy all data in these files.)");
    EXPECT_EQ(Question(run, "C:\\d\\", "*.*", true),
              "Are you sure that you want to purge all 3 files in \r\nC:\\d\\\r\n"
              "and all files in all subfolders?\r\n"
              "(This will permanently destroy all data in these files.)");
    EXPECT_EQ(Question(run, "C:\\none\\", "*.*", true).substr(0, 48),
              "Are you sure that you want to purge all 0 files ");
    run.Drives().WriteFile("C:\\one\\y", "5");
    EXPECT_EQ(Question(run, "C:\\one\\", "*.*", false).substr(36, 18), "both files in \r\nC:");
}

TEST(PurgeConfirmation, OneNamedFileWithoutSubfoldersAndTheClusterSizeKept) {
    RunProgram run;
    run.Drives().WriteFile("C:\\d\\a.txt", "1");
    run.Select("C:\\d\\", "a.txt", false);
    frmPurgeConfirmation& dialog = run.Options();
    dialog.chkDeleteEmptyFolders.SetValue(1);
    dialog.chkFolderNamesOnly.SetValue(1);
    dialog.chkOKToPurgeReadOnlyFiles.SetValue(1);
    bool shown = false;
    run.Ui().OnModal("frmPurgeConfirmation", [&](ui::Form&) {
        shown = true;
        EXPECT_EQ(dialog.Caption(), "Purge confirmation");
        EXPECT_EQ(dialog.cmdDoPurge.Caption(), "Yes, purge this file");
        EXPECT_EQ(dialog.lblMessage.Caption(), dialog.strPurgeConfirmationMessage);
        EXPECT_EQ(dialog.chkDeleteEmptyFolders.Value(), 0);
        EXPECT_FALSE(dialog.chkDeleteEmptyFolders.Enabled());
        EXPECT_EQ(dialog.chkFolderNamesOnly.Value(), 0);
        EXPECT_FALSE(dialog.chkFolderNamesOnly.Enabled());
        EXPECT_FALSE(dialog.fraClusterSize.Visible()) << "slack purging is off";
        EXPECT_TRUE(dialog.cmdCancel.HasFocus());
        // The drive's estimate is selected, and its file system is at hand.
        EXPECT_EQ(frmPurgeConfirmation::kClusterSizes[dialog.cboClusterSize.Value()],
                  run.Main().lngClusterSizeByDrive[2]);
        EXPECT_FALSE(dialog.lblFileSystem.Visible());
        dialog.lblClusterSize.RaiseClick();
        EXPECT_TRUE(dialog.lblFileSystem.Visible());
        EXPECT_EQ(dialog.lblFileSystem.Caption(),
                  strDiskFileSystem + "\r\n" + FormatNumber(dblDiskTotalBytes, 0));
        dialog.lblFileSystem.RaiseClick();
        EXPECT_FALSE(dialog.lblFileSystem.Visible());

        dialog.chkPurgeSlack.UserSetsValue(1);
        EXPECT_TRUE(dialog.fraClusterSize.Visible());
        dialog.chkPurgeSlack.UserSetsValue(0);
        EXPECT_FALSE(dialog.fraClusterSize.Visible());
        dialog.cboClusterSize.UserSetsValue(5);  // 16 KB
        EXPECT_TRUE(dialog.cmdCancel.HasFocus());
        dialog.cmdDoPurge.RaiseClick();
    });
    run.Main().cmdProcessFiles(1).RaiseMouseUp();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(dialog.blnConfirm);
    EXPECT_EQ(run.Main().lngClusterSizeByDrive[2], 16384) << "kept although slack is off";
    EXPECT_FALSE(dialog.blnPurgeSlack);
    EXPECT_TRUE(dialog.blnOKToPurgeReadOnlyFiles);
    EXPECT_FALSE(dialog.blnDeleteEmptyFolders);
    EXPECT_EQ(dialog.lblFileSystem.Caption(), "");
    EXPECT_EQ(dialog.GetClusterSize("C"), 16384) << "the choice replaces the estimate";
}

TEST(PurgeConfirmation, CancelPurgesNothing) {
    RunProgram run;
    run.Drives().WriteFile("C:\\d\\a.txt", "1");
    run.Drives().WriteFile("C:\\d\\b.txt", "2");
    run.Drives().WriteFile("C:\\d\\sub\\c.txt", "3");
    run.Select("C:\\d\\", "*.txt", true);
    frmPurgeConfirmation& dialog = run.Options();
    run.Ui().OnModal("frmPurgeConfirmation", [&](ui::Form&) {
        EXPECT_EQ(dialog.cmdDoPurge.Caption(), "Yes, purge these files");
        EXPECT_TRUE(dialog.chkDeleteEmptyFolders.Enabled());
        EXPECT_FALSE(run.Main().fraMenu.Enabled());
        dialog.RequestClose();
    });
    run.Main().cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_FALSE(dialog.blnConfirm);
    EXPECT_EQ(run.Ui().LastBox().text, "No files purged.");
    EXPECT_EQ(run.Ui().LastBox().title, "Purge cancelled");
    EXPECT_FALSE(run.Report().Visible());
    EXPECT_TRUE(run.Main().fraMenu.Enabled());
    EXPECT_FALSE(run.Report().Run().blnPurgeFiles);
    EXPECT_TRUE(run.Drives().Exists("C:\\d\\a.txt"));

    run.Select("C:\\d\\", "z.txt", false);
    run.Main().cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(run.Ui().LastBox().text, "File z.txt not found.");
    EXPECT_EQ(run.Ui().LastBox().title, "Purge files");
    run.Select("C:\\d\\", "*.doc", false);
    run.Main().cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(run.Ui().LastBox().text, "There are no files in C:\\d\\ matching *.doc.");
}

TEST(PurgeWarning, TheAdviceCanBeTurnedOffAndOffersCancelOnlyInAPurge) {
    RunProgram run;
    frmPurgeWarning& warning = run.Windows().PurgeWarning();
    EXPECT_TRUE(warning.blnShowPurgeWarning) << "on from start-up";
    warning.strPurgeFilePath = "C:\\x.doc";
    warning.blnPurgeRunning = false;
    warning.Form_Activate();
    EXPECT_FALSE(warning.cmdStopPurge.Visible());
    EXPECT_TRUE(warning.cmdOK.HasFocus());
    EXPECT_EQ(warning.lblMessage.Caption().substr(0, 39),
              "The file C:\\x.doc will now be purged.  ");
    EXPECT_NE(warning.lblMessage.Caption().find(
                  "\r\n\r\nIt is better to disable your antivirus software either before "
                  "running Kestrane or during a run (like now)."),
              std::string::npos);

    warning.chkDontShowAgain.PressKey();
    EXPECT_FALSE(warning.blnShowPurgeWarning);
    warning.chkDontShowAgain.PressKey();
    EXPECT_TRUE(warning.blnShowPurgeWarning);
    warning.chkDontShowAgain.PressKey();
    warning.cmdOK.RaiseClick();
    EXPECT_FALSE(warning.blnShowPurgeWarning);
    EXPECT_FALSE(warning.blnStopPurge);

    warning.blnPurgeRunning = true;
    warning.Form_Activate();
    EXPECT_TRUE(warning.cmdStopPurge.Visible());
    warning.cmdStopPurge.RaiseClick();
    EXPECT_TRUE(warning.blnStopPurge);
}

namespace {

// Drive C: as a file system of the given name.
class NamedFileSystem : public platform::DriveInfo {
  public:
    explicit NamedFileSystem(std::string name) : name_(std::move(name)) {}
    std::uint32_t LogicalDriveMask() override { return 1u << 2; }
    int DriveType(const std::string&) override { return platform::kDriveFixed; }
    std::optional<platform::ClusterGeometry> DiskFreeSpace(const std::string&) override {
        return std::nullopt;
    }
    std::optional<platform::DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string&) override {
        return std::nullopt;
    }
    int GetDrive(const std::string&, platform::DriveObject& drive) override {
        drive = {'C', name_, 1e9, platform::kObjectFixed, true, ""};
        return 0;
    }

  private:
    std::string name_;
};

}  // namespace

TEST(PurgeConfirmation, SaysWhenOverwritesCannotReachEarlierCopies) {
    RunProgram run;
    run.Drives().WriteFile("C:\\d\\a.txt", "1");
    run.Select("C:\\d\\", "a.txt", false);
    const std::string note =
        "On this drive's file system changed data is written to new blocks, so purging a file "
        "does not reach its earlier copies.";
    for (const char* fileSystem : {testing_support::kCopyOnWriteFileSystem, "ext4"}) {
        platform::SetDriveInfoForTesting(std::make_shared<NamedFileSystem>(fileSystem));
        std::string shown;
        run.Ui().OnModal("frmPurgeConfirmation", [&](ui::Form& form) {
            auto& dialog = static_cast<frmPurgeConfirmation&>(form);
            shown = dialog.lblMessage.Caption();
            dialog.cmdCancel.RaiseClick();
        });
        run.Main().cmdProcessFiles(1).RaiseMouseUp();
        EXPECT_EQ(shown.find(note) != std::string::npos,
                  std::string(fileSystem) == testing_support::kCopyOnWriteFileSystem)
            << fileSystem << ": " << shown;
    }
    platform::SetDriveInfoForTesting(nullptr);
}
