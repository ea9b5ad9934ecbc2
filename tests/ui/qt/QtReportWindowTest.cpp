// A listing and a purge in real windows, offscreen: the report window
// shows the report, its buttons act during the run, and the purge
// confirmation's buttons decide the purge.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "platform/ProgramFolder.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "tests/testsupport/TempDrive.h"
#include "tests/ui/qt/QtTestSupport.h"
#include "ui/qt/FormView.h"

using testing_support::FindWidget;

namespace {

class QtReportWindow : public testing_support::QtProgram {
  protected:
    void TearDown() override {
        forms_->Report().Hide();
        QtProgram::TearDown();
    }
    void Select(const std::string& folder, const std::string& spec) {
        frmMain& main = forms_->Main();
        main.strFolderPath[0] = folder;
        main.strFileSpec[0] = spec;
        main.blnSubdirectories = false;
        main.RefreshSelection();
    }
    void Click(ui::Form& form, const char* button) {
        FindWidget<QPushButton>(qt_->ViewOf(form), button)->click();
    }
    std::string Shown() {
        return FindWidget<QPlainTextEdit>(qt_->ViewOf(forms_->Report()), "txbText")
            ->toPlainText()
            .toStdString();
    }

};

}  // namespace

TEST_F(QtReportWindow, AListingShowsItsReportAndItsButtonsActDuringTheRun) {
    drives().WriteFile("C:\\data\\a.txt", "a");
    Select("C:\\data\\", "*.*");
    forms_->Main().cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_TRUE(qt_->ViewOf(forms_->Report()).isVisible());
    EXPECT_NE(Shown().find("C:\\data\\\na.txt (1 bytes)\n\nTotal KB: 0.00\n"), std::string::npos)
        << Shown();
    EXPECT_NE(QApplication::clipboard()->text().toStdString().find("a.txt (1 bytes)"),
              std::string::npos);

    for (int i = 0; i < 4; ++i) drives().WriteFile("C:\\data\\m" + std::to_string(i), "x");
    // Pause at the first chance, then Stop while paused: both by real clicks.
    QTimer::singleShot(0, [this] {
        Click(forms_->Report(), "cmdPauseContinue");
        QTimer::singleShot(0, [this] {
            EXPECT_TRUE(forms_->Report().Paused());
            EXPECT_TRUE(
                FindWidget<QPushButton>(qt_->ViewOf(forms_->Report()), "cmdStop")->isVisible());
            Click(forms_->Report(), "cmdStop");
        });
    });
    forms_->Main().cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_NE(Shown().find("File listing was stopped."), std::string::npos) << Shown();
    std::string report = forms_->Report().ReportText();
    report.erase(std::remove(report.begin(), report.end(), '\r'), report.end());
    EXPECT_EQ(Shown(), report) << "the whole report, shown at the end of the run";
}

TEST_F(QtReportWindow, APurgeIsConfirmedInItsDialogAndReported) {
    drives().WriteFile("C:\\data\\gone.txt", "secret");
    Select("C:\\data\\", "gone.txt");
    frmPurgeConfirmation& confirmation = forms_->PurgeConfirmation();
    WhenShown(confirmation, [&](ui::FormView& window) {
        EXPECT_EQ(window.windowTitle().toStdString(), "Purge confirmation");
        Click(confirmation, "cmdDoPurge");
    });
    forms_->Main().cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_NE(Shown().find("gone.txt (6 bytes) purged.\n"), std::string::npos) << Shown();
    EXPECT_FALSE(drives().Exists("C:\\data\\gone.txt"));
}

TEST_F(QtReportWindow, TextSelectedInTheWindowIsWhatGetsCopied) {
    drives().WriteFile("C:\\data\\abc.txt", "abc");
    Select("C:\\data\\", "*.*");
    forms_->Main().cmdProcessFiles(2).RaiseMouseUp();
    auto* shown = FindWidget<QPlainTextEdit>(qt_->ViewOf(forms_->Report()), "txbText");
    // Select the second line as a user would, across the first line break.
    QTextCursor cursor = shown->textCursor();
    cursor.setPosition(shown->toPlainText().indexOf("abc.txt"));
    cursor.setPosition(cursor.position() + 7, QTextCursor::KeepAnchor);
    shown->setTextCursor(cursor);
    EXPECT_EQ(forms_->Report().txbText.SelectedText(), "abc.txt");
    Click(forms_->Report(), "cmdCopyToClipboard");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "abc.txt");
}
