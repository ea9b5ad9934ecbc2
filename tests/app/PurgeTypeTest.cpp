// The purge type dialog and how the main window describes the choice.
#include <gtest/gtest.h>

#include "app/SetupFile.h"
#include "app/WindowRun.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "tests/testsupport/ProgramHarness.h"

using testing_support::ProgramHarness;

namespace {

struct TypeCase {
    int type, passes;
    const char* label;
    const char* questionEnd;
};

// Chooses type and passes in the dialog as a user would, accepts with the
// given answer to the question, and returns the question asked.
std::string AcceptInDialog(ProgramHarness& program, int type, int passes, ui::Answer answer) {
    std::string question;
    program.Ui().OnModal("frmTypeOfPurge", [&](ui::Form&) {
        auto& dialog = program.Windows().TypeOfPurge();
        dialog.optPurgeType(type).PressKey();
        dialog.cboNumberOfPasses(type).UserSetsValue(passes - 1);
        program.Ui().AnswerNextBox(answer);
        dialog.cmdAccept.RaiseClick();
        question = program.Ui().LastBox().text;
        if (dialog.Visible()) dialog.cmdCancel.RaiseClick();
    });
    program.Windows().Main().cmdTypeOfPurge.RaiseMouseUp();
    return question;
}

}  // namespace

TEST(PurgeType, QuestionAndLabelFollowTheOverwriteCount) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    frmMain& main = program.Windows().Main();
    EXPECT_EQ(main.lblTypeOfPurge.Caption(),
              "Alternate bit patterns plus random bytes, 3 times (= 18 overwrites)");

    const TypeCase cases[] = {
        {0, 1, "Random bytes, once (= 1 overwrite)", "overwritten once.  Is this OK?"},
        {0, 2, "Random bytes, twice (= 2 overwrites)", "overwritten twice.  Is this OK?"},
        {2, 5, "Alternate bit patterns plus random bytes, 5 times (= 30 overwrites)",
         "overwritten 30 times.  Is this OK?"},
        {2, 6, "Alternate bit patterns plus random bytes, 6 times (= 36 overwrites)",
         "overwritten 36 times.\r\nThis is a rather large number of overwrites.  "
         "Are you sure you want to do this?"},
        {1, 7, "Alternate bit patterns, 7 times (= 28 overwrites)", "overwritten 28 times.  Is this OK?"},
        {1, 8, "Alternate bit patterns, 8 times (= 32 overwrites)",
         "overwritten 32 times.\r\nThis is a rather large number of overwrites.  "
         "Are you sure you want to do this?"},
    };
    for (const auto& c : cases) {
        main.lblSetupFilename.SetCaption("C:\\op.kzs");
        std::string question = AcceptInDialog(program, c.type, c.passes, ui::Answer::Yes);
        EXPECT_EQ(question, std::string("In the type of purge specified each file will be ") +
                                c.questionEnd);
        EXPECT_EQ(program.Ui().LastBox().title, "Number of overwrites");
        EXPECT_EQ(main.lblTypeOfPurge.Caption(), c.label);
        EXPECT_EQ(main.lblSetupFilename.Caption(), "");
        EXPECT_TRUE(main.fraMenu.Enabled());
    }
}

TEST(PurgeType, NoKeepsTheDialogOpenAndCancelRestoresOnlyTheType) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    auto& dialog = program.Windows().TypeOfPurge();
    program.Ui().OnModal("frmTypeOfPurge", [&](ui::Form&) {
        EXPECT_FALSE(program.Windows().Main().fraMenu.Enabled());
        dialog.cboNumberOfPasses(2).UserSetsValue(4);  // type 2: 5 passes
        dialog.optPurgeType(1).PressKey();
        EXPECT_TRUE(dialog.cboNumberOfPasses(1).Visible());
        EXPECT_FALSE(dialog.cboNumberOfPasses(2).Visible());
        dialog.cboNumberOfPasses(1).UserSetsValue(8);  // type 1: 9 passes
        program.Ui().AnswerNextBox(ui::Answer::No);
        dialog.cmdAccept.RaiseClick();
        EXPECT_TRUE(dialog.Visible()) << "No leaves the dialog open";
        dialog.cmdCancel.RaiseClick();
    });
    program.Windows().Main().cmdTypeOfPurge.RaiseMouseUp();
    EXPECT_EQ(dialog.GetPurgeType(), 2);
    EXPECT_EQ(dialog.GetNumberOfPasses(), 5) << "the changed count of the restored type stays";
    dialog.optPurgeType(1).SetValue(1);
    EXPECT_EQ(dialog.GetNumberOfPasses(), 9) << "each type keeps its own count";
}

TEST(PurgeType, InitializationAndReportWording) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    auto& dialog = program.Windows().TypeOfPurge();
    dialog.Initialization();
    EXPECT_EQ(dialog.GetPurgeType(), 1);
    EXPECT_EQ(dialog.GetNumOverwrites(), 24);
    EXPECT_EQ(dialog.cboNumberOfPasses(0).Items().size(), 9u);
    EXPECT_EQ(dialog.cboNumberOfPasses(2).Items().back(), "6");
    EXPECT_EQ(frmMain::PurgeTypeNumPasses(2, 3), "alternate bit patterns plus random bytes 3 times");
    EXPECT_EQ(frmMain::PurgeTypeNumPasses(0, 1), "random bytes once");
    EXPECT_EQ(frmMain::PurgeTypeNumPasses(1, 2), "alternate bit patterns twice");
    EXPECT_FALSE(dialog.SelectTypeAndPasses(2, 7));
    EXPECT_FALSE(dialog.SelectTypeAndPasses(3, 1));
    EXPECT_EQ(dialog.GetNumOverwrites(), 24) << "a refused selection changes nothing";
}

TEST(PurgeType, TheValueStartsAndReadsAsTheDialog) {
    ProgramHarness program;
    ASSERT_TRUE(program.Start());
    auto& dialog = program.Windows().TypeOfPurge();
    dialog.Initialization();
    EXPECT_EQ(dialog.Choice(), PurgeTypeChoice{})
        << "the command line starts where the window does";
    for (PurgeTypeChoice choice : {PurgeTypeChoice{0, 1}, PurgeTypeChoice{1, 9},
                                   PurgeTypeChoice{2, 2}, PurgeTypeChoice{2, 6}}) {
        ASSERT_TRUE(dialog.SelectTypeAndPasses(choice));
        EXPECT_EQ(dialog.Choice(), choice);
        EXPECT_EQ(dialog.GetNumOverwrites(), choice.NumOverwrites());
    }
    EXPECT_EQ(dialog.optPurgeType(2).Caption(), "3. Alternate bit patterns plus random bytes");
    // Only what the dialog offers is taken from a stored setup.
    for (PurgeTypeChoice refused : {PurgeTypeChoice{0, 0}, PurgeTypeChoice{0, 10},
                                    PurgeTypeChoice{1, 10}, PurgeTypeChoice{2, 7},
                                    PurgeTypeChoice{-1, 1}, PurgeTypeChoice{3, 1}}) {
        EXPECT_FALSE(IsOffered(refused)) << refused.purgeType << " " << refused.passes;
    }
    EXPECT_TRUE(IsOffered({0, 9}));
    EXPECT_TRUE(IsOffered({1, 1}));

    PurgeTypeChoice type{0, 2};
    PurgeOptions boxes;
    SetupRecord record;
    record.passes = 7;
    ApplySetupChoices(record, type, boxes);
    EXPECT_EQ(type, (PurgeTypeChoice{0, 2})) << "a setup's type not on offer is not taken";
    record.passes = 6;
    ApplySetupChoices(record, type, boxes);
    EXPECT_EQ(type, (PurgeTypeChoice{2, 6}));
}
