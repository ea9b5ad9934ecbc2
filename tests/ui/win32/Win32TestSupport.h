// The Win32 back end in force while a test runs, a started program whose
// windows are real (on the virtual display the Windows tests run on), and
// the means to act on them as a user would: window messages, and watchers
// that answer modal windows and message boxes from a timer of the thread.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "platform/win32/SystemHeaders.h"
#include "tests/testsupport/ProgramHarness.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/Win32Ui.h"

namespace testing_support {

class Win32Scope {
  public:
    Win32Scope() { ui::SetUi(&ui_); }
    ~Win32Scope() { ui::SetUi(nullptr); }
    ui::Win32Ui& operator*() { return ui_; }
    ui::Win32Ui* operator->() { return &ui_; }

  private:
    ui::Win32Ui ui_;
};

std::string TextOf(HWND window);
// The window's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND window);
// A press and release of the left button, as a mouse gives it.
void MouseClick(HWND window);
// A key pressed and released on the window, through the message loop.
void PressKey(HWND window, int key);
// What a form window shows, painted afresh: its inside as pixels, read
// back from the window itself, so that what no window paints shows too.
class Snapshot {
  public:
    explicit Snapshot(HWND formWindow);
    // The colour at a point of the form's inside, as 0xRRGGBB.
    int ColourAt(POINT inside) const;
    // The colour at a point of a child window, relative to its corner.
    int ColourAt(HWND child, POINT at) const;
    // How many pixels of a child window's rectangle have this colour.
    int Count(HWND child, int colour) const;

  private:
    HWND window_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
// Whether windows can be made at all: Wine without a display makes none.
bool DisplayAvailable();
// Lets the windows handle what is pending.
void Pump();
// The visible message box of this thread, or null.
HWND MessageBoxUp();
// The visible controls of a window that overlap on the screen, named for a
// message; a label counts as far as its text reaches, a panel not at all.
std::string Overlaps(const ui::FormWindow& window);
// The labels, buttons and boxes of a window whose caption the control cuts
// off, named for a message.
std::string Clipped(const ui::FormWindow& window);

// Runs `act` on every modal window (a form shown modally or a message box)
// while one is up, until `act` returns true. Any modal window still up
// beyond the time limit fails the test and is closed, so that no test hangs.
class ModalWatcher {
  public:
    using Act = std::function<bool(HWND modal)>;
    explicit ModalWatcher(Act act, std::chrono::milliseconds limit = std::chrono::seconds(20));
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void Check();

    Act act_;
    std::chrono::steady_clock::time_point deadline_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    bool done_ = false;
    bool timedOut_ = false;
};

// A started program whose windows are real.
class Win32Program : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!DisplayAvailable()) GTEST_SKIP() << "Wine has no display to make windows on";
        forms_.emplace();
        forms_->Main().Form_Load();
        Pump();
    }
    void TearDown() override {
        watchers_.clear();
        forms_.reset();
    }
    TempDrives& drives() { return files_.Drives(); }
    ui::FormWindow& WindowOf(ui::Form& form) { return ui_->WindowOf(form); }
    HWND Handle(ui::Form& form, const std::string& name, int index = -1) {
        return ui_->WindowOf(form).HandleOf(form(name, index));
    }
    ModalWatcher& WhenModal(ModalWatcher::Act act) {
        watchers_.push_back(std::make_unique<ModalWatcher>(std::move(act)));
        return *watchers_.back();
    }
    // The form a modal window draws, or null for a message box.
    static ui::Form* FormOf(HWND modal) {
        ui::FormWindow* window = ui::FormWindow::Containing(modal);
        return window != nullptr ? window->TheForm() : nullptr;
    }

    ProgramFiles files_;
    Win32Scope ui_;
    std::optional<FormSet> forms_;
    std::vector<std::unique_ptr<ModalWatcher>> watchers_;
};

}  // namespace testing_support
