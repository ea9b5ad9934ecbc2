// One offscreen QApplication for the whole Qt test executable, and the Qt
// back end in force while a test runs.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "tests/testsupport/ProgramHarness.h"
#include "ui/qt/FormView.h"
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
    void TearDown() override {
        waiting_.clear();
        forms_.reset();
    }
    TempDrives& drives() { return files_.Drives(); }
    // Runs `act` once the window of `form` is shown, from whichever event
    // loop runs first after that: the form's modal loop, or a run's own
    // event handling while it works. The window is asked for at every pass
    // of the loop, so neither time nor the order in which loops start
    // decides what `act` finds.
    void WhenShown(ui::Form& form, std::function<void(ui::FormView&)> act) {
        auto timer = std::make_unique<QTimer>();
        QTimer* asking = timer.get();
        QObject::connect(asking, &QTimer::timeout, [this, asking, &form, act] {
            // The form first: asking for its view would make one too early.
            if (!form.Visible() || !qt_->ViewOf(form).isVisible()) return;
            asking->stop();
            act(qt_->ViewOf(form));
        });
        asking->start(0);
        waiting_.push_back(std::move(timer));
    }

    ProgramFiles files_;
    QtScope qt_;
    std::optional<FormSet> forms_;

private:
    std::vector<std::unique_ptr<QTimer>> waiting_;
};

template <typename Widget = QWidget>
Widget* FindWidget(QWidget& window, const char* objectName) {
    return window.findChild<Widget*>(objectName);
}

}  // namespace testing_support
