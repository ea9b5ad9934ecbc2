// The dialogs of the setup shown as real windows, offscreen: each opens,
// shows its controls, and closes when its button is clicked.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

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

class QtDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        drives_.WriteFile("C:\\prog\\kz_text.dat",
                          "1\tKestrane\n4\t(Not specified)\n23\tNumber of overwrites\n"
                          "27\thttps://a.example/\n310\tKestrane\n");
        drives_.MakeFolder("C:\\cfg");
        drives_.WriteFile("C:\\data\\a.txt", "a");
        ::setenv("XDG_CONFIG_HOME", drives_.Native("C:\\cfg").c_str(), 1);
        platform::SetProgramFolderForTesting(drives_.Native("C:\\prog"));
        forms_.emplace();
        forms_->Main().Form_Load();
    }
    void TearDown() override {
        forms_.reset();
        ::unsetenv("XDG_CONFIG_HOME");
        platform::SetProgramFolderForTesting("");
    }
    // Runs `act` once the modal window of `form` is up, from its own loop.
    void WhenShown(ui::Form& form, std::function<void(ui::FormView&)> act) {
        QTimer::singleShot(0, [this, &form, act] { act(qt_->ViewOf(form)); });
    }

    testing_support::TempDrives drives_{"C"};
    testing_support::QtScope qt_;
    std::optional<FormSet> forms_;
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
