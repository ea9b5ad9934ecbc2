// Choosing files in the main window: single file, folder, file
// specification, subfolders and per-file confirmation.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "tests/testsupport/ProgramHarness.h"

using testing_support::ProgramHarness;

namespace {

// A started program whose drive D: holds the given files.
struct Selection : ::testing::Test {
    ProgramHarness program{testing_support::kStandardProgramText, "CD"};
    frmMain* main = nullptr;

    void SetUp() override {
        ASSERT_TRUE(program.Start());
        main = &program.Windows().Main();
    }
    void ChooseFolder(const std::string& folder) {
        program.Ui().AnswerNextFolderBrowse(folder);
        main->cmdSpecifyDirectory(0).RaiseMouseUp();
    }
    // Opens Specify files and lets the script play the dialog.
    void SpecifyFiles(std::function<void(frmSpecifyFiles&)> script) {
        program.Ui().OnModal("frmSpecifyFiles", [&, script](ui::Form&) {
            script(program.Windows().SpecifyFiles());
        });
        main->cmdSpecifyFiles(0).RaiseMouseUp();
    }
};

}  // namespace

TEST_F(Selection, FirstStartShowsNothingSpecified) {
    EXPECT_EQ(main->lblDirectory(0).Caption(), "(Not specified)");
    EXPECT_EQ(main->lblFiles(0).Caption(), "(Not specified)");
    EXPECT_EQ(main->lblSubdirectories.Caption(), "");
    EXPECT_EQ(main->lblSubdirectories2.Caption(), "(Do not operate on files in lower subfolders.)");
    EXPECT_EQ(main->lblConfirmFiles.Caption(), "No");
    EXPECT_EQ(main->lblConfirmFiles2.Caption(), "(Do not confirm purge operation for each file.)");
    EXPECT_TRUE(main->blnSubdirectories);
    EXPECT_FALSE(main->blnConfirmFiles);
    EXPECT_EQ(main->lblSingleFile.Caption(), "To purge multiple files specify folder and files.");

    program.Drives().WriteFile("D:\\docs\\a.txt", "a");
    ChooseFolder("D:\\docs");
    EXPECT_EQ(main->strFolderPath[0], "D:\\docs\\");
    EXPECT_FALSE(main->blnSubdirectories) << "choosing a folder turns subfolders off";
    EXPECT_EQ(main->lblSubdirectories2.Caption(), "(The folder has no subfolders.)");
}

TEST_F(Selection, SubfoldersOnAFolderWithoutSubfoldersStaysNo) {
    program.Drives().WriteFile("D:\\flat\\a.txt", "a");
    ChooseFolder("D:\\flat\\");
    for (int i = 0; i < 3; ++i) {
        main->cmdSubdirectories.RaiseMouseUp();
        EXPECT_FALSE(main->blnSubdirectories);
        EXPECT_EQ(main->lblSubdirectories.Caption(), "No");
        EXPECT_EQ(main->lblSubdirectories2.Caption(), "(The folder has no subfolders.)");
    }
    program.Drives().MakeFolder("D:\\flat\\sub");
    main->cmdSubdirectories.RaiseMouseUp();
    EXPECT_EQ(main->lblSubdirectories.Caption(), "Yes");
    EXPECT_EQ(main->lblSubdirectories2.Caption(), "(Operate on all specified files in lower subfolders.)");
}

TEST_F(Selection, ExtensionsAreStoredBareAndDotsInsideAreRefused) {
    program.Drives().WriteFile("D:\\docs\\a.txt", "a");
    ChooseFolder("D:\\docs");
    for (const char* typed : {"*.txt", ".txt", " txt "}) {
        SpecifyFiles([&](frmSpecifyFiles& dialog) {
            EXPECT_TRUE(dialog.optSingleFile.Enabled());
            dialog.txbExtension.UserSetsText(typed);
            dialog.txbExtension.PressEnter();  // as Accept
        });
        EXPECT_EQ(main->strFileSpec[0], "*.txt") << typed;
        EXPECT_EQ(main->lblFiles2(0).Caption(), "(All files with extension \"txt\".)");
    }
    SpecifyFiles([&](frmSpecifyFiles& dialog) {
        dialog.txbExtension.UserSetsText("a.b");
        dialog.cmdAccept.RaiseClick();
        EXPECT_TRUE(dialog.Visible()) << "the dialog stays open";
        EXPECT_EQ(program.Ui().LastBox().text, "Extension must not contain \".\".");
        dialog.cmdCancel.RaiseClick();
    });
    EXPECT_EQ(main->strFileSpec[0], "*.txt") << "Cancel keeps the previous choice";
}

TEST_F(Selection, SpecifyFilesOnFoldersWithoutFiles) {
    program.Drives().MakeFolder("D:\\onlysub\\inner");
    ChooseFolder("D:\\onlysub");
    SpecifyFiles([&](frmSpecifyFiles& dialog) {
        EXPECT_FALSE(dialog.optSingleFile.Enabled());
        EXPECT_NE(dialog.optAllFiles.Value(), 0);
        EXPECT_EQ(dialog.optAllFiles.Caption(), "Purge all files (*.*)");
        dialog.cmdAccept.RaiseClick();
    });
    EXPECT_EQ(main->strFileSpec[0], "*.*");
    EXPECT_EQ(main->lblFiles2(0).Caption(), "(All files.)");
    EXPECT_EQ(main->lblSingleFile.Caption(), "");

    program.Drives().MakeFolder("D:\\empty");
    ChooseFolder("D:\\empty");
    std::size_t boxes = program.Ui().Boxes().size();
    main->cmdSpecifyFiles(0).RaiseMouseUp();  // no dialog may open: no script needed
    ASSERT_EQ(program.Ui().Boxes().size(), boxes + 1);
    EXPECT_EQ(program.Ui().LastBox().title, "Empty folder");
    EXPECT_EQ(program.Ui().LastBox().text, "The folder contains no files and no subfolders.");
}

TEST_F(Selection, PatternsSummariseUpToTwentyCharacters) {
    program.Drives().WriteFile("D:\\docs\\a.txt", "a");
    ChooseFolder("D:\\docs");
    SpecifyFiles([](frmSpecifyFiles& dialog) {
        dialog.txbFilespec.UserSetsText("a*.d*");
        dialog.cmdAccept.RaiseClick();
    });
    EXPECT_EQ(main->lblFiles2(0).Caption(), "(All files of the form \"a*.d*\".)");
    EXPECT_EQ(main->lblFiles2(0).Left(), main->lblFiles(0).Left() + 5 * 123 + 300);
    SpecifyFiles([](frmSpecifyFiles& dialog) {
        dialog.txbFilespec.UserSetsText("abcdefghijklmnopqrst*");
        dialog.cmdAccept.RaiseClick();
    });
    EXPECT_EQ(main->lblFiles2(0).Caption(), "");
}

// Accept alone must keep what the window shows, never narrow it to one file.
TEST_F(Selection, SpecifyFilesOpensOnTheWindowsChoiceAndASingleFileMustBeChosen) {
    program.Drives().WriteFile("D:\\docs\\a.txt", "a");
    program.Drives().WriteFile("D:\\docs\\b.txt", "b");
    ChooseFolder("D:\\docs");
    const std::pair<const char*, const char*> shown[] = {
        {"*.*", "optAllFiles"},
        {"*.txt", "optExtension"},
        {"?.t*", "optMultipleFiles"},
        {"b.txt", "optSingleFile"},
    };
    for (const auto& [spec, option] : shown) {
        main->strFileSpec[0] = spec;
        main->RefreshSelection();
        SpecifyFiles([&, option = option](frmSpecifyFiles& dialog) {
            EXPECT_NE(dialog(option).Value(), 0) << spec;
            dialog.cmdAccept.RaiseClick();
        });
        EXPECT_EQ(main->strFileSpec[0], spec) << "Accept alone keeps the choice";
    }

    SpecifyFiles([&](frmSpecifyFiles& dialog) {
        dialog.optSingleFile.SetValue(1);
        dialog.File.SetValue(-1);
        dialog.cmdAccept.RaiseClick();
        EXPECT_TRUE(dialog.Visible()) << "the dialog stays open";
        EXPECT_EQ(program.Ui().LastBox().text, "No file has been chosen from the list.");
        dialog.cmdCancel.RaiseClick();
    });
    EXPECT_EQ(main->strFileSpec[0], "b.txt");
}

TEST_F(Selection, ASingleFileKeepsItsCaseAndGetsAnEstimateOnlyWithAMeasuredSpeed) {
    program.Drives().WriteFile("D:\\Docs\\Secret.txt", std::string(1000, 's'));
    program.Drives().WriteFile("D:\\Docs\\secret.txt", "other");
    program.Ui().AnswerNextFileDialog("d:\\Docs\\Secret.txt");
    main->cmdSingleFile.RaiseMouseUp();
    EXPECT_EQ(main->strFolderPath[0], "D:\\Docs\\");
    EXPECT_EQ(main->strFileSpec[0], "Secret.txt") << "lower-casing would select the other file";
    EXPECT_EQ(main->lblSubdirectories.Caption(), "No");
    EXPECT_EQ(main->lblEstimatedTime.Caption(), "");

    main->sngPurgeSpeed['D' - 'A'] = 12.5f;
    program.Ui().AnswerNextFileDialog("D:\\Docs\\Secret.txt");
    main->cmdSingleFile.RaiseMouseUp();
    EXPECT_EQ(main->lblEstimatedTime.Caption(), "Less than 10 seconds.");
    EXPECT_EQ(main->lblPurgeSpeed.Caption(), "12.500 MB/sec. (1 overwrite) for Drive D");

    program.Ui().AnswerNextFileDialog(std::nullopt);
    main->cmdSingleFile.RaiseMouseUp();
    EXPECT_EQ(main->strFileSpec[0], "Secret.txt") << "a cancelled dialog changes nothing";
}

TEST_F(Selection, AFolderThatVanishedIsClearedWithAMessage) {
    program.Drives().MakeFolder("D:\\gone\\sub");
    ChooseFolder("D:\\gone");
    main->strFileSpec[0] = "*.*";
    std::filesystem::remove_all(program.Drives().Native("D:\\gone"));
    main->cmdSubdirectories.RaiseMouseUp();
    EXPECT_EQ(program.Ui().LastBox().text, "Error when attempting to access D:\\gone\\.");
    EXPECT_EQ(main->strFolderPath[0], "");
    EXPECT_EQ(main->strFileSpec[0], "");
    EXPECT_EQ(main->lblDirectory(0).Caption(), "(Not specified)");
}

TEST_F(Selection, ConfirmationTogglesAndForgetsTheOperationFileName) {
    main->lblSetupFilename.SetCaption("C:\\a.kzs");
    main->cmdConfirmFiles.RaiseMouseUp();
    EXPECT_TRUE(main->blnConfirmFiles);
    EXPECT_EQ(main->lblConfirmFiles.Caption(), "Yes");
    EXPECT_EQ(main->lblConfirmFiles2.Caption(), "(Confirm purge operation for each file.)");
    EXPECT_EQ(main->lblSetupFilename.Caption(), "");
}

TEST_F(Selection, SpecifyFolderOpensInTheFolderInUse) {
    program.Drives().WriteFile("D:\\docs\\a.txt", "a");
    program.Drives().WriteFile("D:\\docs\\old\\b.txt", "b");
    ChooseFolder("D:\\docs");
    ChooseFolder("D:\\docs\\old");
    program.Ui().AnswerNextFolderBrowse(std::nullopt);
    main->cmdSpecifyDirectory(0).RaiseMouseUp();
    EXPECT_EQ(program.Ui().folderBrowseStarts,
              (std::vector<std::string>{"", "D:\\docs\\", "D:\\docs\\old\\"}))
        << "nothing chosen yet: the first drive; then the folder chosen last";
    EXPECT_EQ(main->strFolderPath[0], "D:\\docs\\old\\") << "a cancelled browse changes nothing";
}
