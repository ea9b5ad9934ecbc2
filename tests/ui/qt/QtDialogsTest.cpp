// The dialogs of the setup shown as real windows, offscreen: each opens,
// shows its controls, and closes when its button is clicked.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "app/frmTypeOfPurge.h"
#include "platform/ProgramFolder.h"
#include "tests/testsupport/TempDrive.h"
#include "tests/ui/qt/QtTestSupport.h"
#include "ui/Ui.h"
#include "ui/qt/FormView.h"

using testing_support::FindWidget;

namespace {

class QtDialogs : public testing_support::QtProgram {
protected:
    void SetUp() override {
        drives().WriteFile("C:\\data\\a.txt", "a");
        QtProgram::SetUp();
    }
};

}  // namespace

TEST_F(QtDialogs, PurgeTypeDialogShowsItsListsAndCancels) {
    auto& dialog = forms_->TypeOfPurge();
    bool seen = false;
    WhenShown(dialog, [&](ui::FormView& window) {
        seen = window.isVisible();
        EXPECT_EQ(window.windowTitle().toStdString(), "What type of purge should be used?");
        auto* option = FindWidget<QRadioButton>(window, "optPurgeType(2)");
        ASSERT_NE(option, nullptr);
        EXPECT_TRUE(option->isChecked());
        EXPECT_EQ(FindWidget<QComboBox>(window, "cboNumberOfPasses(2)")->count(), 6);
        EXPECT_FALSE(FindWidget<QComboBox>(window, "cboNumberOfPasses(1)")->isVisible());
        FindWidget<QPushButton>(window, "cmdCancel")->click();
    });
    forms_->Main().cmdTypeOfPurge_MouseUp();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(forms_->Main().fraMenu.Enabled());
}

TEST_F(QtDialogs, FileSpecificationDialogAcceptsAllFiles) {
    forms_->Main().strFolderPath[0] = "C:\\data\\";
    bool seen = false;
    WhenShown(forms_->SpecifyFiles(), [&](ui::FormView& window) {
        seen = window.isVisible();
        FindWidget<QRadioButton>(window, "optAllFiles")->click();
        FindWidget<QPushButton>(window, "cmdAccept")->click();
    });
    forms_->Main().cmdSpecifyFiles_MouseUp(0);
    EXPECT_TRUE(seen);
    EXPECT_EQ(forms_->Main().strFileSpec[0], "*.*");
}

TEST_F(QtDialogs, SetupPanelsShowAndHideInTheMainWindow) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    main.cmdSetup_MouseUp();
    EXPECT_TRUE(FindWidget(window, "fraSetup")->isVisible());
    FindWidget<QPushButton>(window, "cmdSaveSetup")->click();
    EXPECT_FALSE(FindWidget(window, "fraSetup")->isVisible());
    EXPECT_TRUE(FindWidget(window, "picSaveSetup")->isVisible());
    FindWidget<QPushButton>(window, "cmdDontSaveSetup")->click();
    EXPECT_FALSE(FindWidget(window, "picSaveSetup")->isVisible());
    EXPECT_TRUE(main.fraMenu.Enabled());
}
