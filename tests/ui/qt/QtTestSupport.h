// One offscreen QApplication for the whole Qt test executable, and the Qt
// back end in force while a test runs.
#pragma once

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "tests/testsupport/ProgramHarness.h"
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

// A started program whose windows are real, offscreen.
class QtProgram : public ::testing::Test {
protected:
    void SetUp() override {
        forms_.emplace();
        forms_->Main().Form_Load();
    }
    void TearDown() override { forms_.reset(); }
    TempDrives& drives() { return files_.Drives(); }

    ProgramFiles files_;
    QtScope qt_;
    std::optional<FormSet> forms_;
};

template <typename Widget = QWidget>
Widget* FindWidget(QWidget& window, const char* objectName) {
    return window.findChild<Widget*>(objectName);
}

}  // namespace testing_support
