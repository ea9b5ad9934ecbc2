// The setup file format, and loading and saving setups through the panels.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <fstream>
#include <iterator>
#include <random>

#include "app/PurgeTypeChoice.h"
#include "app/SetupFile.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "purge/frmPurgeConfirmation.h"
#include "tests/testsupport/ProgramHarness.h"

using testing_support::ProgramHarness;

namespace {

const char* const kGoodFile =
    "8.27\r\n 1 \r\n 0 \r\nD:\\data\\\r\n*.txt\r\n 0 \r\n 2 \r\n 1 \r\n 0 \r\n 1 \r\n 0 \r\n 0 "
    "\r\n 1 \r\n";

}  // namespace

TEST(SetupFile, WritesAndReadsBackTheSameBytes) {
    SetupRead read = ReadSetup(kGoodFile);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.record.folder, "D:\\data\\");
    EXPECT_EQ(read.record.passes, 2);
    EXPECT_EQ(read.record.options[5], 1);
    EXPECT_EQ(WriteSetup(read.record), kGoodFile);
    EXPECT_EQ(SetupNumber(-1), "-1 ");
    EXPECT_EQ(SetupNumber(12), " 12 ");
    // LF alone, and names that are bytes rather than UTF-8, read as well.
    std::string lf = kGoodFile;
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
    EXPECT_TRUE(ReadSetup(lf).complete);
    std::string latin1 = kGoodFile;
    latin1.replace(latin1.find("data"), 4, "d\xe9j\xe0");
    EXPECT_EQ(WriteSetup(ReadSetup(latin1).record), latin1);
}

TEST(SetupFile, InvalidContentsFallBackToTheDefaults) {
    const struct {
        const char* what;
        std::string contents;
        int optionsRead;
    } cases[] = {
        {"five lines", "8.27\r\n 1 \r\n 0 \r\nD:\\\r\n*.*\r\n", 0},
        {"text for a number", "8.27\r\n one \r\n 0 \r\n\r\n\r\n 0 \r\n 1 \r\n", 0},
        {"flag 2", "8.27\r\n 2 \r\n 0 \r\n\r\n\r\n 0 \r\n 1 \r\n", 0},
        {"option 5", "8.27\r\n 1 \r\n 0 \r\n\r\n\r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n 5 \r\n", 2},
        {"NUL byte", std::string("8.27\r\n 1 \r\n 0 \r\nD:\\\0x\r\n", 18), 0},
        {"enormous line", "8.27\r\n 1 \r\n 0 \r\n" + std::string(5000, 'a') + "\r\n", 0},
        {"huge number", "8.27\r\n 99999999999 \r\n", 0},
        {"twelve lines, the last option missing",
         "8.27\r\n 1 \r\n 0 \r\nD:\\\r\n*.*\r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n 0 \r\n",
         5},
    };
    for (const auto& c : cases) {
        SetupRead read = ReadSetup(c.contents);
        EXPECT_FALSE(read.complete) << c.what;
        EXPECT_EQ(read.record.folder, "") << c.what;
        EXPECT_EQ(read.record.purgeType, 2) << c.what;
        EXPECT_EQ(read.record.passes, 3) << c.what;
        EXPECT_EQ(read.record.subfolderFlag, 0) << c.what;
        int read_options = 0;
        for (const auto& o : read.record.options) read_options += o.has_value();
        EXPECT_EQ(read_options, c.optionsRead) << c.what;
    }
}

TEST(SetupFile, APurgeTypeNotOnOfferStillHasItsOptionsAndSelectionApplied) {
    for (const char* type : {" 3 \r\n 1 ", "-1 \r\n 1 ", " 2 \r\n 7 ", " 0 \r\n 0 "}) {
        const std::string file = std::string("8.27\r\n 1 \r\n 0 \r\nD:\\data\\\r\n*.txt\r\n") +
                                 type + "\r\n 1 \r\n 0 \r\n 1 \r\n 0 \r\n 1 \r\n 1 \r\n";
        SetupRead read = ReadSetup(file);
        EXPECT_TRUE(read.complete) << type;
        EXPECT_EQ(read.record.folder, "D:\\data\\") << type;
        EXPECT_EQ(read.record.fileSpec, "*.txt") << type;
        EXPECT_EQ(read.record.purgeType, 2) << type;
        EXPECT_EQ(read.record.passes, 3) << type;
        const int expected[] = {1, 0, 1, 0, 1, 1};
        for (int i = 0; i < SetupRecord::kNumOptions; ++i) {
            EXPECT_EQ(read.record.options[i], expected[i]) << type << " option " << i;
        }
    }
}

TEST(SetupFile, MalformedFilesNeverCrashAndGiveTheFileOrTheDefaults) {
    std::mt19937 random(20261207);
    const std::string good = kGoodFile;
    for (int round = 0; round < 4000; ++round) {
        std::string file = good;
        int edits = 1 + random() % 6;
        for (int e = 0; e < edits; ++e) {
            std::size_t at = random() % (file.size() + 1);
            switch (random() % 4) {
                case 0:
                    file.insert(at, 1, static_cast<char>(random() % 256));
                    break;
                case 1:
                    if (at < file.size()) file.erase(at, 1 + random() % 8);
                    break;
                case 2:
                    if (at < file.size()) file[at] = static_cast<char>(random() % 256);
                    break;
                case 3:
                    file.resize(at);
                    break;
            }
        }
        SetupRead read = ReadSetup(file);
        const SetupRecord& r = read.record;
        ASSERT_GE(r.purgeType, 0);
        ASSERT_LE(r.purgeType, 2);
        ASSERT_GE(r.passes, 1);
        ASSERT_LE(r.passes, MaxPassesOf(r.purgeType));
        if (!read.complete) {
            ASSERT_EQ(r.folder, "");
            ASSERT_EQ(r.fileSpec, "");
            ASSERT_EQ(r.purgeType, 2);
            ASSERT_EQ(r.passes, 3);
        } else {
            // Every field comes back as it was read, not just the folder.
            const SetupRead again = ReadSetup(WriteSetup(r));
            ASSERT_TRUE(again.complete);
            ASSERT_EQ(again.record.strVersion, r.strVersion);
            ASSERT_EQ(again.record.subfolderFlag, r.subfolderFlag);
            ASSERT_EQ(again.record.confirmationFlag, r.confirmationFlag);
            ASSERT_EQ(again.record.folder, r.folder);
            ASSERT_EQ(again.record.fileSpec, r.fileSpec);
            ASSERT_EQ(again.record.purgeType, r.purgeType);
            ASSERT_EQ(again.record.passes, r.passes);
            ASSERT_EQ(again.record.options, r.options);
        }
    }
}

TEST(SetupPersistence, SavedForTheNextRunAndReadAtTheNextStart) {
    std::string saved;
    {
        ProgramHarness program(testing_support::kStandardProgramText, "CD");
        program.Drives().MakeFolder("D:\\data\\sub");
        ASSERT_TRUE(program.Start());
        frmMain& main = program.Windows().Main();
        program.Ui().AnswerNextFolderBrowse("D:\\data");
        main.cmdSpecifyDirectory(0).RaiseMouseUp();
        main.strFileSpec[0] = "*.doc";
        main.cmdSubdirectories.RaiseMouseUp();
        ASSERT_TRUE(main.blnSubdirectories);
        program.Windows().PurgeConfirmation().chkDeleteEmptyFolders.SetValue(1);

        main.cmdSetup.RaiseMouseUp();
        EXPECT_TRUE(main.fraSetup.Visible());
        EXPECT_FALSE(main.fraMenu.Enabled());
        main.cmdSaveSetup.RaiseClick();
        main.cmdSaveSetupForNextRun.RaiseClick();
        EXPECT_TRUE(main.fraMenu.Enabled());
        std::ifstream file(main.strNextRunSetupPath, std::ios::binary);
        saved.assign(std::istreambuf_iterator<char>(file), {});

        // The next start of the same user finds it.
        ASSERT_TRUE(program.Restart());
        frmMain& again = program.Windows().Main();
        EXPECT_EQ(again.lblSubdirectories.Caption(), "Yes");
        EXPECT_EQ(again.lblConfirmFiles.Caption(), "No");
        EXPECT_EQ(again.strFolderPath[0], "D:\\data\\");
        EXPECT_EQ(again.lblFiles(0).Caption(), "*.doc");
        EXPECT_EQ(program.Windows().PurgeConfirmation().chkDeleteEmptyFolders.Value(), 1);
    }
    EXPECT_EQ(saved,
              "8.27\r\n 1 \r\n 0 \r\nD:\\data\\\r\n*.doc\r\n 2 \r\n 3 \r\n"
              " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n");
}

TEST(SetupPersistence, OperationFilesLoadWithTheFolderAsItIsNow) {
    ProgramHarness program(testing_support::kStandardProgramText, "CD");
    program.Drives().MakeFolder("D:\\data");  // its subfolders are gone
    program.Drives().WriteFile("D:\\data\\a.txt", "a");
    program.Drives().WriteFile("D:\\ops\\op.kzs", kGoodFile);
    program.Drives().WriteFile("D:\\ops\\short.kzs", "8.27\r\n 1 \r\n 0 \r\nD:\\\r\n*.*\r\n");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();

    program.Ui().AnswerNextFileDialog("D:\\ops\\op.kzs");
    main.cmdSetup.RaiseMouseUp();
    main.cmdLoadSetup.RaiseClick();
    EXPECT_EQ(main.lblSubdirectories.Caption(), "No");
    EXPECT_EQ(main.lblSubdirectories2.Caption(), "(The folder has no subfolders.)");
    EXPECT_EQ(main.lblSetupFilename.Caption(), "D:\\ops\\op.kzs");
    EXPECT_EQ(main.lblTypeOfPurge.Caption(), "Random bytes, twice (= 2 overwrites)");
    EXPECT_TRUE(main.fraMenu.Enabled());

    program.Ui().AnswerNextFileDialog("D:\\ops\\short.kzs");
    main.cmdSetup.RaiseMouseUp();
    main.cmdLoadSetup.RaiseClick();
    EXPECT_EQ(program.Ui().LastBox().text,
              "Error when attempting to load setup from file D:\\ops\\short.kzs!");
    EXPECT_EQ(program.Windows().TypeOfPurge().GetPurgeType(), 2);
    EXPECT_EQ(program.Windows().TypeOfPurge().GetNumberOfPasses(), 3);

    program.Ui().AnswerNextFileDialog("D:\\ops\\missing.kzs");
    main.cmdSetup.RaiseMouseUp();
    main.cmdLoadSetup.RaiseClick();
    EXPECT_EQ(program.Ui().LastBox().title, "Error when attempting to load setup.");
    EXPECT_EQ(program.Ui().LastBox().text, "File D:\\ops\\missing.kzs not found!");
}

TEST(SetupPersistence, SavingOverAFileAsksAndAFailedSaveKeepsTheOldFile) {
    ProgramHarness program(testing_support::kStandardProgramText, "CD");
    program.Drives().WriteFile("D:\\ops\\op.kzs", "old");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.lblSetupFilename.SetCaption("D:\\before.kzs");
    for (auto answer : {ui::Answer::No, ui::Answer::Cancel}) {
        program.Ui().AnswerNextFileDialog("D:\\ops\\op.kzs");
        program.Ui().AnswerNextBox(answer);
        main.cmdSaveSetupAsOperationFile.RaiseClick();
        EXPECT_EQ(program.Ui().LastBox().title, "File exists");
        EXPECT_EQ(program.Drives().ReadFile("D:\\ops\\op.kzs"), "old");
        EXPECT_EQ(main.lblSetupFilename.Caption(), "D:\\before.kzs");
    }
    program.Ui().AnswerNextFileDialog("D:\\ops\\op.kzs");
    program.Ui().AnswerNextBox(ui::Answer::Yes);
    main.cmdSaveSetupAsOperationFile.RaiseClick();
    EXPECT_EQ(main.lblSetupFilename.Caption(), "D:\\ops\\op.kzs");
    EXPECT_TRUE(ReadSetup(program.Drives().ReadFile("D:\\ops\\op.kzs")).complete);

    // A folder the program may not write to: the save fails, nothing is left
    // half-written, and the old next-run setup stays whole.
    main.strNextRunSetupPath = "D:\\locked\\kz.usr";
    program.Drives().WriteFile("D:\\locked\\kz.usr", kGoodFile);
    ::chmod(program.Drives().Native("D:\\locked\\kz.usr").c_str(), 0444);
    main.cmdSaveSetupForNextRun.RaiseClick();
    EXPECT_EQ(program.Ui().LastBox().text, "Cannot save setup!");
    EXPECT_EQ(program.Drives().ReadFile("D:\\locked\\kz.usr"), kGoodFile);
}

// A name saved without an extension would be hidden from "Load setup",
// which lists only operation files.
TEST(SetupPersistence, OperationFilesGetTheirExtensionAndDialogsOpenWhereTheUserWorks) {
    ProgramHarness program(testing_support::kStandardProgramText, "CD");
    program.Drives().MakeFolder("D:\\ops");
    program.Drives().MakeFolder("D:\\data");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.strFolderPath[0] = "D:\\data\\";
    main.strFileSpec[0] = "*.*";

    program.Ui().AnswerNextFileDialog("D:\\ops\\monthly");
    main.cmdSaveSetupAsOperationFile.RaiseClick();
    EXPECT_TRUE(program.Drives().Exists("D:\\ops\\monthly.kzs"));
    EXPECT_FALSE(program.Drives().Exists("D:\\ops\\monthly"));
    EXPECT_EQ(main.lblSetupFilename.Caption(), "D:\\ops\\monthly.kzs");
    program.Ui().AnswerNextFileDialog("D:\\ops\\weekly.txt");
    main.cmdSaveSetupAsOperationFile.RaiseClick();
    EXPECT_TRUE(program.Drives().Exists("D:\\ops\\weekly.txt")) << "a given extension stays";

    const auto& dialogs = program.Ui().fileDialogs;
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].initialFolder, "D:\\data\\") << "no operation file yet: the selection's";
    EXPECT_EQ(dialogs[0].defaultExtension, "kzs");
    EXPECT_EQ(dialogs[1].initialFolder, "D:\\ops\\");
    EXPECT_EQ(dialogs[1].fileName, "monthly.kzs");

    program.Ui().AnswerNextFileDialog(std::nullopt);
    main.cmdSetup.RaiseMouseUp();
    main.cmdLoadSetup.RaiseClick();
    EXPECT_EQ(program.Ui().fileDialogs.back().initialFolder, "D:\\ops\\");
    program.Ui().AnswerNextFileDialog(std::nullopt);
    main.cmdSingleFile.RaiseMouseUp();
    EXPECT_EQ(program.Ui().fileDialogs.back().initialFolder, "D:\\data\\");
}

TEST(SetupPersistence, ClearThenRestoreGivesTheSelectionBack) {
    ProgramHarness program(testing_support::kStandardProgramText, "CD");
    program.Drives().WriteFile("D:\\data\\a.txt", "a");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.strFolderPath[0] = "D:\\data\\";
    main.strFileSpec[0] = "a.txt";
    main.cmdSetup.RaiseMouseUp();
    main.cmdClearSetup.RaiseClick();
    EXPECT_EQ(main.lblDirectory(0).Caption(), "(Not specified)");
    EXPECT_EQ(main.lblSubdirectories.Caption(), "");
    EXPECT_FALSE(main.fraSetup.Visible());
    main.cmdSetup.RaiseMouseUp();
    main.cmdRestoreSetup.RaiseClick();
    EXPECT_EQ(main.strFolderPath[0], "D:\\data\\");
    EXPECT_EQ(main.lblFiles(0).Caption(), "a.txt");
}

TEST(SetupPersistence, TheSavePanelsButtonsCoverNoOtherControl) {
    ProgramHarness program(testing_support::kStandardProgramText, "CD");
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    main.cmdSetup.RaiseMouseUp();
    main.cmdSaveSetup.RaiseClick();
    ASSERT_TRUE(main.picSaveSetup.Visible());
    // Where a control stands on the window, its containers' corners added.
    auto placeOf = [](const ui::Control& c) {
        int left = c.Left(), top = c.Top();
        for (const ui::Control* in = c.Container(); in != nullptr; in = in->Container()) {
            left += in->Left();
            top += in->Top();
        }
        return std::array<int, 4>{left, top, left + c.Width(), top + c.Height()};
    };
    auto shown = [](const ui::Control& c) {
        for (const ui::Control* in = &c; in != nullptr; in = in->Container()) {
            if (!in->Visible()) return false;
        }
        return true;
    };
    for (ui::Control* button : {&main.cmdSaveSetupAsOperationFile, &main.cmdSaveSetupForNextRun,
                                &main.cmdDontSaveSetup}) {
        const auto b = placeOf(*button);
        for (const auto& other : main.Controls()) {
            const auto kind = other->Kind();
            if (other->Container() == &main.picSaveSetup || !shown(*other) ||
                kind == ui::ControlKind::Panel || kind == ui::ControlKind::Frame ||
                kind == ui::ControlKind::Timer || other->Caption().empty()) {
                continue;
            }
            const auto o = placeOf(*other);
            const bool overlap = b[0] < o[2] && o[0] < b[2] && b[1] < o[3] && o[1] < b[3];
            EXPECT_FALSE(overlap) << button->Name() << " covers " << other->Name();
        }
    }
}
