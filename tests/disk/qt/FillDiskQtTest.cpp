// The fill window as a real Qt window, offscreen: F10 pressed in it while
// it writes reaches the fill, which asks "Cancel?".
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include "app/Forms.h"
#include "disk/frmFillDisk.h"
#include "tests/disk/DiskTestSupport.h"
#include "tests/ui/qt/QtTestSupport.h"
#include "ui/qt/FormView.h"

namespace {

using QtFill = testing_support::QtProgram;

TEST_F(QtFill, F10PressedTwiceInTheFillWindowAsksToCancel) {
    disk_testing::FakeReserve reserve;  // the machine's own disk keeps its reserve
    auto& fill = forms_->FillDisk();
    fill.blnFillDisk = true;
    fill.strDrive = "C:";
    fill.dblFreeSpace = 256 << 20;

    bool shown = false;
    WhenShown(fill, [&](ui::FormView& window) {
        shown = window.isVisible();
        for (int i = 0; i < 2; ++i) {
            QApplication::postEvent(&window,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier));
            QApplication::postEvent(&window,
                                    new QKeyEvent(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier));
        }
    });
    // Each box that comes up is noted and answered Yes.
    std::vector<std::string> titles;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        titles.push_back(box->windowTitle().toStdString());
        box->button(QMessageBox::Yes)->click();
    });
    answerer.start(5);
    fill.ShowModal();
    answerer.stop();

    EXPECT_TRUE(shown);
    EXPECT_EQ(titles, (std::vector<std::string>{"Cancel?", "Delete dummy file?"}));
    EXPECT_TRUE(fill.blnStopp);
    EXPECT_FALSE(drives().Exists("C:\\dummy1"));
}

}  // namespace
