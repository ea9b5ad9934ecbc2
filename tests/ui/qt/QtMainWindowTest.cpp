// The real main window, driven offscreen through Qt's own events.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "platform/ProgramFolder.h"
#include "tests/testsupport/TempDrive.h"
#include "tests/ui/qt/QtTestSupport.h"
#include "ui/qt/FormView.h"

using testing_support::FindWidget;

using QtMainWindow = testing_support::QtProgram;

TEST_F(QtMainWindow, StartsWithItsCaptionAndActsOnMouseReleaseOnly) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle().toStdString(), "Kestrane 8.27");
    auto* help = FindWidget<QPushButton>(window, "cmdHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->text().toStdString(), "Help");
    EXPECT_EQ(help->x(), main.cmdHelp.Left() / ui::kTwipsPerPixel);

    // The report button's message box would block a real run; a release on
    // a button whose action opens no box shows the wiring instead: moving
    // the mouse over Wipe disk gives it the focus.
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(FindWidget(window, "cmdWipeDisk"), &move);
    EXPECT_TRUE(main.cmdWipeDisk.HasFocus());

    // A keyboard press on a menu button (a click without a mouse release)
    // does nothing; the model's caption changes reach the widget.
    help->click();
    main.lblEstimatedTime.SetCaption("About 3 minutes");
    EXPECT_EQ(FindWidget<QLabel>(window, "lblEstimatedTime")->text().toStdString(),
              "About 3 minutes");
}
