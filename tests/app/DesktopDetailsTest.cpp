// Details of the window that users lean on: the per-user folder outside
// the drives, labels that show what will run, lengths in characters, the
// file list of a fresh folder, a link chosen as the single file, and the
// failure messages of the selection and the setup panel.
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "app/frmTypeOfPurge.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

using testing_support::ProgramHarness;

namespace {

std::string NativeContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

#ifndef _WIN32
// A folder of this system that no drive letter maps.
class FolderOffTheDrives {
  public:
    FolderOffTheDrives() {
        char name[] = "/tmp/kestrane-config-XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~FolderOffTheDrives() { std::filesystem::remove_all(path_); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

#endif

}  // namespace

#ifndef _WIN32
// The desktop names its configuration folder through XDG_CONFIG_HOME.
TEST(PerUserFolder, LiesOutsideTheDrivesAndTheSetupIsSavedThere) {
    ProgramHarness program;
    FolderOffTheDrives config;
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    EXPECT_EQ(main.strNextRunSetupPath, config.Path() + "/Kestrane/kz.usr");
    EXPECT_FALSE(program.Drives().Exists("C:\\Kestrane")) << "nothing made on a drive instead";

    main.strFolderPath[0] = "C:\\home\\";
    main.strFileSpec[0] = "*.txt";
    main.cmdSaveSetupForNextRun.RaiseClick();
    for (const auto& box : program.Ui().Boxes()) EXPECT_NE(box.text, "Cannot save setup!");
    EXPECT_NE(NativeContents(main.strNextRunSetupPath).find("*.txt"), std::string::npos);
    ASSERT_TRUE(program.Restart());
    EXPECT_EQ(program.Windows().Main().strFileSpec[0], "*.txt");
}
#endif

TEST(PerUserFolder, ARunNeverPurgesTheProgramsOwnSetup) {
    // The harness keeps the per-user folder on drive C:, inside the tree.
    ProgramHarness program;
    program.Drives().WriteFile("C:\\home\\notes.txt", "notes");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.cmdSaveSetupForNextRun.RaiseClick();
    const std::string setup = main.strNextRunSetupPath;
    ASSERT_FALSE(NativeContents(setup).empty());

    main.strFolderPath[0] = "C:\\home\\";
    main.strFileSpec[0] = "*.*";
    main.blnSubdirectories = true;
    main.blnConfirmFiles = false;
    program.Windows().TypeOfPurge().SelectTypeAndPasses(0, 1);
    program.Ui().OnModal("frmAntiVirusQuery", [](ui::Form& form) { form.Hide(); });
    program.Ui().OnModal("frmPurgeConfirmation", [](ui::Form& form) {
        static_cast<frmPurgeConfirmation&>(form).cmdDoPurge.RaiseClick();
    });
    main.cmdProcessFiles(1).RaiseMouseUp();
    const std::string& report = program.Windows().Report().ReportText();
    EXPECT_FALSE(program.Drives().Exists("C:\\home\\notes.txt")) << report;
    EXPECT_FALSE(NativeContents(setup).empty()) << report;
    EXPECT_NE(report.find("kz.usr: a file in the current application folder, not purged."),
              std::string::npos)
        << report;
}

TEST(SelectionLabels, AFailedLoadShowsTheConfirmationThatWillRun) {
    ProgramHarness program;
    program.Drives().WriteFile("C:\\ops\\short.kzs", "8.27\r\n 1 \r\n");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    ASSERT_EQ(main.lblConfirmFiles.Caption(), "No");
    program.Ui().AnswerNextFileDialog("C:\\ops\\short.kzs");
    main.cmdLoadSetup.RaiseClick();
    ASSERT_TRUE(main.blnConfirmFiles) << "a failed read leaves both flags True";
    EXPECT_EQ(main.lblConfirmFiles.Caption(), "Yes");
    EXPECT_EQ(main.lblConfirmFiles2.Caption(), "(Confirm purge operation for each file.)");
}

TEST(SelectionLabels, TheSummaryCountsCharactersNotBytes) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.strFolderPath[0] = "C:\\home\\";
    // Fourteen characters, 26 bytes: short enough for a summary.
    main.strFileSpec[0] =
        "*."
        "\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6"
        "\xc3\xbc";
    main.RefreshSelection();
    EXPECT_EQ(main.lblFiles2(0).Caption(),
              "(All files with extension \"\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\xc3\xa4"
              "\xc3\xb6\xc3\xbc\xc3\xa4\xc3\xb6\xc3\xbc\".)");
    EXPECT_EQ(main.lblFiles2(0).Left(), main.lblFiles(0).Left() + 14 * 123 + 300);
}

TEST(SpecifyFiles, AFolderWithoutFilesListsNoneOfThePreviousFolder) {
    ProgramHarness program;
    program.Drives().WriteFile("C:\\full\\old.txt", "x");
    program.Drives().MakeFolder("C:\\empty\\sub");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    std::vector<std::string> listed;
    program.Ui().OnModal("frmSpecifyFiles", [&](ui::Form& form) {
        auto& dialog = static_cast<frmSpecifyFiles&>(form);
        listed = dialog.File.Items();
        dialog.cmdCancel.RaiseClick();
    });
    main.strFolderPath[0] = "C:\\full\\";
    main.cmdSpecifyFiles(0).RaiseMouseUp();
    EXPECT_EQ(listed, std::vector<std::string>{"old.txt"});
    main.strFolderPath[0] = "C:\\empty\\";
    main.cmdSpecifyFiles(0).RaiseMouseUp();
    EXPECT_TRUE(listed.empty());
}

TEST(SingleFile, ALinkIsNamedAsALinkNotAsMissing) {
    if (!testing_support::kHasFifosAndLinks) GTEST_SKIP() << testing_support::kNoFifosAndLinks;
    ProgramHarness program;
    program.Drives().WriteFile("C:\\d\\target.txt", "x");
    ASSERT_TRUE(
        testing_support::MakeSymbolicLink("target.txt", program.Drives().Native("C:\\d\\link.txt")));
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    program.Ui().AnswerNextFileDialog("C:\\d\\link.txt");
    main.cmdSingleFile.RaiseMouseUp();
    main.cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(program.Ui().LastBox().text, "File link.txt: a symbolic link, not purged.");
    program.Ui().AnswerNextFileDialog("C:\\d\\gone.txt");
    main.cmdSingleFile.RaiseMouseUp();
    main.cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(program.Ui().LastBox().text, "File gone.txt not found.");
}

TEST(FailureMessages, SelectionAndSetupPanelSayWhatWentWrong) {
    ProgramHarness program;
    program.Drives().WriteFile("C:\\d\\a.txt", "x");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    auto& ui = program.Ui();

    main.cmdSpecifyFiles(0).RaiseMouseUp();
    EXPECT_EQ(ui.LastBox().title, "Folder unspecified");
    EXPECT_EQ(ui.LastBox().text, "The folder has not been specified.");

    main.strFolderPath[0] = "C:\\d\\";
    EXPECT_FALSE(main.CheckFolderContents("*.doc"));
    EXPECT_EQ(ui.LastBox().text, "The folder contains no matching files and no subfolders.");
    EXPECT_EQ(ui.LastBox().title, "Empty folder");

    main.strFolderPath[0] = "C:\\missing\\";
    EXPECT_FALSE(main.CheckFolderContents("*.*"));
    EXPECT_EQ(ui.LastBox().text, "Cannot access the folder.");
    EXPECT_EQ(ui.LastBox().icon, ui::Icon::Critical);

    program.Drives().MakeFolder("C:\\ops\\op.kzs");  // a folder where the file should go
    main.lblSetupFilename.SetCaption("C:\\before.kzs");
    ui.AnswerNextFileDialog("C:\\ops\\op.kzs");
    main.cmdSaveSetupAsOperationFile.RaiseClick();
    EXPECT_EQ(ui.LastBox().text, "Cannot save setup in operation file C:\\ops\\op.kzs!");
    EXPECT_EQ(main.lblSetupFilename.Caption(), "");
}

TEST(PurgeTypeDialog, AnyWayOfClosingItEmptiesTheSetupName) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    const std::function<void(ui::Form&)> closes[] = {
        [](ui::Form& form) { static_cast<frmTypeOfPurge&>(form).cmdCancel.RaiseClick(); },
        [](ui::Form& form) { form.RequestClose(); }};
    for (const auto& close : closes) {
        main.lblSetupFilename.SetCaption("C:\\ops\\op.kzs");
        program.Ui().OnModal("frmTypeOfPurge", close);
        main.cmdTypeOfPurge.RaiseMouseUp();
        EXPECT_EQ(main.lblSetupFilename.Caption(), "");
        EXPECT_EQ(main.lblTypeOfPurge.Caption(),
                  "Alternate bit patterns plus random bytes, 3 "
                  "times (= 18 overwrites)");
    }
}

TEST(ReportCaption, APurgeRunsUnderItsOwnCaption) {
    ProgramHarness program;
    program.Drives().WriteFile("C:\\d\\a.txt", "x");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.strFolderPath[0] = "C:\\d\\";
    main.strFileSpec[0] = "*.txt";
    main.blnSubdirectories = false;
    main.blnConfirmFiles = false;
    program.Ui().OnModal("frmAntiVirusQuery", [](ui::Form& form) { form.Hide(); });
    main.cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_EQ(program.Windows().Report().Caption(), "List files *.txt");
    program.Ui().OnModal("frmPurgeConfirmation", [](ui::Form& form) {
        static_cast<frmPurgeConfirmation&>(form).cmdDoPurge.RaiseClick();
    });
    main.cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_EQ(program.Windows().Report().Caption(), "Purge files");
}
