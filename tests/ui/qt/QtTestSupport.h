// One offscreen QApplication for the whole Qt test executable, and the Qt
// back end in force while a test runs.
#pragma once

#include <QApplication>
#include <QWidget>
#include <cstdlib>

#include "ui/qt/QtUi.h"

namespace testing_support {

inline QApplication& OffscreenApplication() {
    static int argc = 1;
    static char name[] = "qt_ui_tests";
    static char* argv[] = {name, nullptr};
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Never destroyed: Qt must not be torn down after main has returned.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class QtScope {
public:
    QtScope() : ui_(OffscreenApplication()) { ui::SetUi(&ui_); }
    ~QtScope() { ui::SetUi(nullptr); }
    ui::QtUi& operator*() { return ui_; }
    ui::QtUi* operator->() { return &ui_; }

private:
    ui::QtUi ui_;
};

template <typename Widget = QWidget>
Widget* FindWidget(QWidget& window, const char* objectName) {
    return window.findChild<Widget*>(objectName);
}

}  // namespace testing_support
