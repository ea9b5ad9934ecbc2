// Start-up of the main window and its window-wide behaviour, headless.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/frmMain.h"
#include "platform/ProgramFolder.h"
#include "purge/frmReport.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

using testing_support::ProgramHarness;

namespace {

// Starts a program whose text file has the given contents and returns the
// message it ended with ("" when it started).
std::string FatalStartMessage(const char* programText) {
    ProgramHarness program(programText);
    if (program.Start()) return "";
    EXPECT_EQ(program.ExitCode(), 1);
    const auto& box = program.Ui().LastBox();
    EXPECT_EQ(box.icon, ui::Icon::Critical);
    EXPECT_EQ(box.buttons, ui::Buttons::OK);
    EXPECT_EQ(box.title, "");
    EXPECT_FALSE(program.Windows().Main().Visible()) << "the window must never be shown";
    return box.text;
}

}  // namespace

TEST(Startup, FaultyProgramTextFilesEndTheProgramWithTheirMessage) {
    EXPECT_EQ(FatalStartMessage(nullptr),
              "Cannot open file containing program text.\r\n"
              "C:\\Program Files\\Kestrane\\kz_text.dat");
    EXPECT_EQ(FatalStartMessage(""), "File is empty.");
    EXPECT_EQ(FatalStartMessage("# only a comment\n"), "No program text was read.");
    EXPECT_EQ(FatalStartMessage("1\tKestrane\n4\tnone\n1\tagain\n"),
              "Duplicate in program text at line 3.");
    EXPECT_EQ(FatalStartMessage("1\tKestrane\n\n\n\n\n\n\n\n\n\n\n4\n"),
              "Missing string at line 12.");
    EXPECT_EQ(FatalStartMessage(("1\tKestrane\n2\tx\n3\t" + std::string(1025, 'a') + "\n").c_str()),
              "String too long at line 3.");
    // The limit counts characters: 1,024 two-byte letters are one text.
    std::string letters;
    for (int i = 0; i < 1024; ++i) letters += "\xC3\xA9";
    EXPECT_EQ(FatalStartMessage(("1\tKestrane\n4\tnone\n5\t" + letters + "\n").c_str()), "");
    EXPECT_EQ(FatalStartMessage(("1\tKestrane\n5\t" + letters + "\xC3\xA9\n").c_str()),
              "String too long at line 2.");
    EXPECT_EQ(FatalStartMessage("1\tKes\x01trane\n"), "Error reading file.");
    EXPECT_EQ(FatalStartMessage("1\tKes\xff\xfetrane\n"), "Error reading file.");
}

TEST(Startup, AFifoOrLinkInPlaceOfTheProgramTextIsRefusedAtOnce) {
    if (!testing_support::kHasFifosAndLinks) GTEST_SKIP() << testing_support::kNoFifosAndLinks;
    for (bool fifo : {true, false}) {
        ProgramHarness program(nullptr);
        const std::string text = program.Drives().Native(
            std::string(testing_support::ProgramFiles::kProgramFolder) + "\\kz_text.dat");
        if (fifo) {
            ASSERT_TRUE(testing_support::MakeFifo(text));
        } else {
            program.Drives().WriteFile("C:\\elsewhere.dat", "1\tKestrane\n");
            ASSERT_TRUE(testing_support::MakeSymbolicLink(
                program.Drives().Native("C:\\elsewhere.dat"), text));
        }
        EXPECT_FALSE(program.Start()) << "a FIFO must not hang the start, nor a link be followed";
        EXPECT_EQ(program.Ui().LastBox().text,
                  "Cannot open file containing program text.\r\n"
                  "C:\\Program Files\\Kestrane\\kz_text.dat");
    }
}

TEST(Startup, ProgramInTheRootOfADriveGetsNoDoubledBackslash) {
    testing_support::TempDrives drives("C");
    testing_support::HeadlessScope ui;
    platform::SetProgramFolderForTesting(drives.Root('C'));
    FormSet forms;
    EXPECT_THROW(forms.Main().Form_Load(), ui::ProgramEnded);
    EXPECT_EQ(ui->LastBox().text, "Cannot open file containing program text.\r\nC:\\kz_text.dat");
    platform::SetProgramFolderForTesting("");
}

TEST(Startup, FirstStartShowsTheWindowWithItsCaptions) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    EXPECT_TRUE(main.Visible());
    EXPECT_TRUE(main.blnStartupCompleted);
    EXPECT_EQ(main.Caption(), "Kestrane 8.27");
    EXPECT_EQ(main.strVersion, "8.27");
    EXPECT_EQ(main.strDocumentationAddress, "https://kestrane.example/docs/");
    EXPECT_EQ(main.strNotSpecified, "(Not specified)");
    EXPECT_EQ(main.cmdProcessFiles(2).Caption(), "List files, estimate time");
    EXPECT_EQ(main.cmdProcessFiles(1).Caption(), "Purge files");
    EXPECT_EQ(main.cmdSpecifyDirectory(0).Caption(), "Specify folder");
    EXPECT_EQ(main.lblSingleFile.Caption(), "To purge multiple files specify folder and files.");
    EXPECT_EQ(main.lblSubdirectories2.Caption(), "(Do not operate on files in lower subfolders.)");
    EXPECT_EQ(main.lblPurgeSpeed.Caption(), "");
    EXPECT_EQ(main.lblEstimatedTime.Caption(), "");
    EXPECT_FALSE(main.fraSetup.Visible());
    EXPECT_FALSE(main.picSaveSetup.Visible());
    EXPECT_FALSE(main.lblSetupFilename.Visible());
    EXPECT_FALSE(main.Clock.Enabled());
    EXPECT_TRUE(main.cmdSpecifyDirectory(0).HasFocus());
    for (const auto& control : main.Controls())
        EXPECT_FALSE(control->FontBold()) << control->Name();

    // The next-run setup lives in the per-user data folder, by its native
    // path, created at start.
    EXPECT_EQ(main.strNextRunSetupPath,
              program.Drives().Native("C:\\home\\.config\\Kestrane\\kz.usr"));
    EXPECT_TRUE(program.Drives().Exists("C:\\home\\.config\\Kestrane"));

    // Placed relative to the menu as the window is laid out.
    EXPECT_EQ(main.lblCopyright.Top(), main.fraMenu.Top() + main.cmdQuit.Top() + 100);
    EXPECT_EQ(main.lblEstimatedTime.Top(), main.cmdProcessFiles(2).Top() + 130);
    EXPECT_EQ(main.lblSetupFilename.Top(), main.fraMenu.Top() + main.cmdSetup.Top());
}

TEST(Startup, HelpBuildStampAndReportWindowMessages) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();

    main.cmdHelp.RaiseMouseUp();
    EXPECT_EQ(program.Ui().LastBox().title, "Kestrane");
    EXPECT_EQ(program.Ui().LastBox().text,
              "The user manual for this software is provided as HTML files contained in \r\n"
              "the ZIP file kz_user_manual.zip in the kz827 program files folder.\r\n\r\n"
              "There is an entry in the Kestrane program menu for this ZIP file,\r\n"
              "which you can save to a location of your choice.\r\n\r\n"
              "Unzip the file into some folder on your computer.  Load the file kz.htm\r\n"
              "into a web browser to read the manual.");

    main.lblCopyright.RaiseDblClick();
    EXPECT_EQ(program.Ui().LastBox().text, "70708");
    EXPECT_EQ(program.Ui().LastBox().title, "Kestrane");

    main.cmdReportScreen.RaiseMouseUp();
    EXPECT_EQ(program.Ui().LastBox().text, "The report window is empty.");
    EXPECT_EQ(program.Ui().LastBox().title, "Report window");
    EXPECT_FALSE(program.Windows().Report().Visible());

    program.Windows().Report().txbText.SetCaption("a report\r\n");
    main.cmdReportScreen.RaiseMouseUp();
    EXPECT_TRUE(program.Windows().Report().Visible());
}

TEST(Startup, MenuButtonsActOnMouseReleaseOrKeyAndTakeFocusFromTheMouse) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    std::size_t boxes = program.Ui().Boxes().size();

    main.cmdHelp.RaiseClick();  // a click alone, as the mouse's press gives
    EXPECT_EQ(program.Ui().Boxes().size(), boxes);
    main.cmdHelp.SetFocus();
    main.cmdHelp.PressKey(ui::Key::Enter);
    main.cmdHelp.PressKey(ui::Key::Space);
    EXPECT_EQ(program.Ui().Boxes().size(), boxes + 2);
    boxes += 2;
    main.cmdHelp.RaiseMouseUp(ui::MouseButton::Right);
    EXPECT_EQ(program.Ui().Boxes().size(), boxes + 1);

    main.cmdWipeDisk.RaiseMouseMove();
    EXPECT_TRUE(main.cmdWipeDisk.HasFocus());
    program.Windows().Report().Show();
    main.cmdReportScreen.RaiseMouseMove();
    EXPECT_FALSE(main.cmdReportScreen.HasFocus()) << "the report window keeps the focus";

    // A disabled menu delivers nothing.
    main.fraMenu.SetEnabled(false);
    main.cmdHelp.RaiseMouseUp();
    EXPECT_EQ(program.Ui().Boxes().size(), boxes + 1);
}

TEST(Startup, QuitAndTheCloseBoxEndTheProgramWithoutAQuestion) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    std::size_t boxes = program.Ui().Boxes().size();
    try {
        main.cmdQuit.RaiseMouseUp();
        FAIL() << "Quit must end the program";
    } catch (const ui::ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 0);
    }
    EXPECT_THROW(main.RequestClose(), ui::ProgramEnded);
    EXPECT_EQ(program.Ui().Boxes().size(), boxes);
}

TEST(Startup, ClockMovesTheReportCaretAndCountsSeconds) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    auto& report = program.Windows().Report();
    report.txbText.SetCaption("line one\r\nline two\r\n");
    report.txbText.SetSelStart(0);
    program.Windows().Main().Clock.RaiseTimer();  // disabled: no tick
    EXPECT_EQ(report.lngSecondsElapsed, 0);
    program.Windows().Main().Clock.SetEnabled(true);
    program.Windows().Main().Clock.RaiseTimer();
    EXPECT_EQ(report.lngSecondsElapsed, 1);
    EXPECT_EQ(report.txbText.SelStart(), static_cast<int>(report.txbText.Caption().size()));
}

TEST(Startup, ANextRunSetupWhoseFolderIsGoneClearsTheSelectionWithAMessage) {
    ProgramHarness program(testing_support::kStandardProgramText, "CD");
    program.Drives().WriteFile("C:\\home\\.config\\Kestrane\\kz.usr",
                               "8.27\r\n 0 \r\n 1 \r\nD:\\gone\\\r\n*.*\r\n 0 \r\n 4 \r\n"
                               " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    EXPECT_EQ(program.Ui().LastBox().text, "Error when attempting to access D:\\gone\\.");
    EXPECT_EQ(program.Ui().LastBox().title, "Error");
    EXPECT_EQ(main.strFolderPath[0], "");
    EXPECT_EQ(main.lblFiles(0).Caption(), "(Not specified)");
    EXPECT_EQ(main.lblTypeOfPurge.Caption(), "Random bytes, 4 times (= 4 overwrites)");
    EXPECT_EQ(main.lblConfirmFiles.Caption(), "Yes");
}
