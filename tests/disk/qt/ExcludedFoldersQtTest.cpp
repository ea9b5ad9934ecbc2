// The excluded folders dialog as a real Qt window, offscreen: its
// introduction is shown whole, above the list, at the desktop's font and at
// a larger one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/Forms.h"
#include "disk/frmExcludedFolders.h"
#include "tests/ui/qt/QtTestSupport.h"
#include "ui/qt/FormView.h"

namespace {

using QtExcludedFolders = testing_support::QtProgram;

TEST_F(QtExcludedFolders, TheIntroductionIsWholeAndAboveTheListAtAnyFontSize) {
    const QFont normal = QApplication::font();
    for (double scale : {1.0, 1.6}) {
        QFont font = normal;
        font.setPointSizeF(normal.pointSizeF() * scale);
        QApplication::setFont(font);
        frmExcludedFolders& dialog = forms_->ExcludedFolders();
        dialog.strDriveLetter = "C";
        dialog.PrepareOpening();

        int needed = 0, given = 0, gap = -1;
        bool boxInside = false;
        WhenShown(dialog, [&](ui::FormView& window) {
            auto* intro = testing_support::FindWidget<QLabel>(window, "lblIntro");
            QWidget* list = testing_support::FindWidget(window, "txbExcludedFolders");
            QWidget* box = testing_support::FindWidget(window, "chkKeepTopFiles");
            needed = intro->heightForWidth(intro->width());
            given = intro->height();
            gap = list->geometry().top() - intro->geometry().bottom();
            boxInside = window.rect().contains(box->geometry());
            testing_support::FindWidget<QPushButton>(window, "cmdClose")->click();
        });
        dialog.ShowModal();

        EXPECT_GE(given, needed) << "its last lines are cut off at scale " << scale;
        EXPECT_GT(gap, 0) << "scale " << scale;
        EXPECT_TRUE(boxInside) << "scale " << scale;
    }
    QApplication::setFont(normal);
}

}  // namespace
