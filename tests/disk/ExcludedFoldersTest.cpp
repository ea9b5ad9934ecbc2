// The excluded folders dialog, headless, on drives C and D mapped to
// temporary folders: the limit of 100, the refusals and their messages
// (the root, a folder listed or covered, in whatever spelling), the
// subfolder rule (a listed folder covers only the folders below it),
// removing the last folder, and what a new wipe keeps.
#include <gtest/gtest.h>

#include "app/Forms.h"
#include "disk/frmExcludedFolders.h"
#include "tests/testsupport/SpecialFiles.h"
#include "tests/testsupport/TempDrive.h"

namespace {

class ExcludedFolders : public ::testing::Test {
  protected:
    ExcludedFolders() : dialog(windows.ExcludedFolders()) {
        for (const char* folder : {"C:\\Prog\\Sub", "C:\\Program Files", "C:\\A\\B", "C:\\One",
                                   "C:\\Two", "C:\\Three", "C:\\Four", "C:\\Keep", "D:\\Data"}) {
            drives.MakeFolder(folder);
        }
        Open('C');
    }

    void Open(char letter) {
        dialog.strDriveLetter = std::string(1, letter);
        dialog.PrepareOpening();
    }
    // Adds a folder as the user picks it; the text of the box it caused,
    // or "" when none was shown.
    std::string Add(const std::string& folder) {
        const std::size_t before = ui->Boxes().size();
        ui->AnswerNextFolderBrowse(folder);
        dialog.cmdAddFolder.RaiseClick();
        return ui->Boxes().size() > before ? ui->LastBox().text : "";
    }

    testing_support::HeadlessScope ui;
    testing_support::TempDrives drives{"CD"};
    FormSet windows;
    frmExcludedFolders& dialog;
};

TEST_F(ExcludedFolders, HoldsAHundredFoldersAndRefusesTheNextWithoutBrowsing) {
    for (int i = 1; i <= 100; ++i) drives.MakeFolder("C:\\F" + std::to_string(i));
    for (int i = 1; i <= 100; ++i) EXPECT_EQ(Add("C:\\F" + std::to_string(i)), "");
    EXPECT_EQ(dialog.intNumExcludedFolders, 100);
    EXPECT_EQ(dialog.IthExcludedFolder(100), "C:\\F100");

    dialog.cmdAddFolder.RaiseClick();  // no browse answer queued: none is asked
    EXPECT_EQ(ui->LastBox().text, "The maximum number of excluded folders is 100");
    EXPECT_EQ(ui->LastBox().title, "Add folder");
    EXPECT_EQ(dialog.intNumExcludedFolders, 100);
    EXPECT_THROW(dialog.IthExcludedFolder(101), std::out_of_range);
}

TEST_F(ExcludedFolders, RefusesTheRootAnotherDriveAndFoldersAlreadyCovered) {
    EXPECT_EQ(Add("C:\\"), "If C:\\ is excluded\r\nthen there is nothing to do.");
    EXPECT_EQ(ui->LastBox().icon, ui::Icon::Exclamation);
    EXPECT_EQ(Add("D:\\Data"), "D:\\Data\r\nis not on Drive C.");

    EXPECT_EQ(Add("C:\\Prog"), "");
    EXPECT_EQ(Add("c:\\Prog"), "c:\\Prog\r\nis already in the list.");
    EXPECT_EQ(Add("C:\\Prog\\Sub"),
              "C:\\Prog\\Sub\r\nis a subfolder of \r\nC:\\Prog\r\nso is already excluded.");
    // A name that merely begins like a listed folder is another folder.
    EXPECT_EQ(Add("C:\\Program Files"), "");
    EXPECT_EQ(dialog.intNumExcludedFolders, 2);
    EXPECT_EQ(dialog.IthExcludedFolder(2), "C:\\Program Files");
}

TEST_F(ExcludedFolders, BrowsingStartsOnTheDriveBeingWiped) {
    Open('D');
    EXPECT_EQ(Add("D:\\Data"), "");
    EXPECT_EQ(ui->folderBrowseStarts, (std::vector<std::string>{"D:\\"}));
}

TEST_F(ExcludedFolders, TheRootAndListedFoldersAreRefusedInEverySpelling) {
    for (const std::string root :
         {"C:", "c:\\", "C:/", "C:\\.", "C:\\Prog\\..", "C:\\Prog/Sub\\..\\.."}) {
        EXPECT_EQ(Add(root), "If " + root + " is excluded\r\nthen there is nothing to do.");
    }
    EXPECT_EQ(Add("C:\\Prog"), "");
    EXPECT_EQ(Add("C:/Prog/."), "C:/Prog/.\r\nis already in the list.");
    EXPECT_EQ(Add("C:\\A\\..\\Prog\\Sub"),
              "C:\\A\\..\\Prog\\Sub\r\nis a subfolder of \r\nC:\\Prog\r\nso is already excluded.");
    // What cannot be found below the drive's root as a folder cannot be
    // kept: a folder that is not there, or a link, whose target the run
    // would meet under another name.
    EXPECT_EQ(Add("C:\\Nowhere"), "C:\\Nowhere\r\ncannot be opened on Drive C (Path not found).");
    int refusals = 9;
    if (testing_support::MakeSymbolicLink(drives.Native("C:\\A"), drives.Native("C:\\Link"))) {
        EXPECT_NE(Add("C:\\Link"), "");
        EXPECT_NE(Add("C:\\Link\\B"), "");
        refusals += 2;
    }
    EXPECT_EQ(dialog.intNumExcludedFolders, 1);
    EXPECT_EQ(dialog.intRefusals, refusals);
}

TEST_F(ExcludedFolders, AFolderHoldingAListedOneIsAddedAndBothStay) {
    EXPECT_EQ(Add("C:\\A\\B"), "");
    EXPECT_EQ(Add("C:\\A"), "");
    EXPECT_EQ(dialog.IthExcludedFolder(1), "C:\\A\\B");
    EXPECT_EQ(dialog.IthExcludedFolder(2), "C:\\A");
    EXPECT_EQ(dialog.IthExcludedFolder(3), "");
}

TEST_F(ExcludedFolders, RemovingTheLastLeavesWholeLinesAndTheStateFollows) {
    EXPECT_FALSE(dialog.cmdRemoveLastFolder.Visible());
    EXPECT_NE(dialog.lblIntro.Caption().find("Currently there are no folders excluded."),
              std::string::npos);
    Add("C:\\One");
    Add("C:\\Two");
    Add("C:\\Three");
    EXPECT_TRUE(dialog.cmdRemoveLastFolder.Visible());
    dialog.cmdRemoveLastFolder.RaiseClick();
    EXPECT_EQ(dialog.txbExcludedFolders.Caption(), "C:\\One\r\nC:\\Two\r\n");
    EXPECT_EQ(dialog.IthExcludedFolder(3), "");
    Add("C:\\Four");
    EXPECT_EQ(dialog.txbExcludedFolders.Caption(), "C:\\One\r\nC:\\Two\r\nC:\\Four\r\n");

    for (int i = 0; i < 3; ++i) dialog.cmdRemoveLastFolder.RaiseClick();
    EXPECT_EQ(dialog.txbExcludedFolders.Caption(), "");
    EXPECT_FALSE(dialog.cmdRemoveLastFolder.Visible());
    EXPECT_NE(dialog.lblIntro.Caption().find("Currently there are no folders excluded."),
              std::string::npos);
}

TEST_F(ExcludedFolders, ANewWipeEmptiesTheListButKeepsTheCheckBox) {
    Add("C:\\Keep");
    dialog.chkKeepTopFiles.PressKey();
    EXPECT_EQ(dialog.chkKeepTopFiles.Value(), 1);
    Open('D');
    EXPECT_EQ(dialog.intNumExcludedFolders, 0);
    EXPECT_EQ(dialog.IthExcludedFolder(1), "");
    EXPECT_EQ(dialog.txbExcludedFolders.Caption(), "");
    EXPECT_EQ(dialog.chkKeepTopFiles.Value(), 1);
    EXPECT_EQ(dialog.chkKeepTopFiles.Caption(), "Do not purge top-level files on Drive D");
    // The introduction was composed for the first wipe's drive C.
    EXPECT_NE(dialog.lblIntro.Caption().find("Windows operating system"), std::string::npos);
}

}  // namespace
