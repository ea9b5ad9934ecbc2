// The real main window, driven offscreen through Qt's own events.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QDialog>
#include <QTimer>

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

    // A click without a mouse release (as the keyboard gives) shows no box;
    // a press and release of the mouse shows Help's. Every box that comes up
    // is counted and closed, so a wrong reaction fails instead of blocking.
    int boxes = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&boxes] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++boxes;
            box->reject();
        }
    });
    watcher.start(10);
    help->click();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(boxes, 0) << "Help reacted to a click without a mouse release";
    const QPointF inside(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, inside, help->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, help->mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(help, &press);
    QApplication::sendEvent(help, &release);
    watcher.stop();
    EXPECT_EQ(boxes, 1) << "Help's box on the mouse release";

    // The model's caption changes reach the widget.
    main.lblEstimatedTime.SetCaption("About 3 minutes");
    EXPECT_EQ(FindWidget<QLabel>(window, "lblEstimatedTime")->text().toStdString(),
              "About 3 minutes");
}
