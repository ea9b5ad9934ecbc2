// The program's message boxes on the Win32 back end: the text with its own
// line breaks and the whole title, owned by the window that asks, in front
// and whole on its screen.
#include <gtest/gtest.h>

#include <sstream>

#include "disk/PurgeSpeedTest.h"
#include "platform/win32/WideText.h"
#include "tests/ui/win32/Win32TestSupport.h"
#include "ui/win32/ScreenMetrics.h"

using namespace testing_support;

namespace {

// The label of a box that shows its text.
HWND TextLabelOf(HWND box) {
    HWND found = nullptr;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM result) -> BOOL {
            wchar_t kind[16] = {};
            ::GetClassNameW(child, kind, 16);
            if (_wcsicmp(kind, L"Static") == 0 && ::GetWindowTextLengthW(child) > 0) {
                *reinterpret_cast<HWND*>(result) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The lines of the text that the label has no room for, as it would draw
// them unbroken.
std::string LinesCutOrBroken(HWND label, const std::string& text) {
    RECT inside{};
    ::GetClientRect(label, &inside);
    HDC dc = ::GetDC(label);
    HGDIOBJ before =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    std::string problems;
    int lines = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::wstring line = platform::Widened(text.substr(start, end - start));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
        if (extent.cx > inside.right) problems += "[" + text.substr(start, end - start) + "] ";
        ++lines;
        start = end + 2;
    }
    if (lines * metrics.tmHeight > inside.bottom) problems += "(not all lines are shown)";
    ::SelectObject(dc, before);
    ::ReleaseDC(label, dc);
    return problems;
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

class Win32MessageBoxes : public Win32Program {
  protected:
    HWND MainWindow() { return WindowOf(forms_->Main()).Handle(); }

    // Shows a box, lets `look` see it up, and returns the answer.
    ui::Answer Ask(const std::string& text, ui::Buttons buttons, const std::string& title,
                   int defaultButton, std::function<void(HWND box)> look) {
        WhenModal([look](HWND box) {
            if (FormOf(box) != nullptr) return false;
            look(box);
            return true;
        });
        return ui::TheUi().MsgBox(text, buttons, ui::Icon::Information, title, defaultButton);
    }
};

}  // namespace

TEST_F(Win32MessageBoxes, ShowTheProgramsLinesUnbrokenAndTheWholeTitle) {
    const std::string speed = PurgeSpeedMessage("C", 3, 2.5, false, 0);
    for (const auto& [text, title] :
         {std::pair<std::string, std::string>{speed, "Test purge speed"},
          {"No files purged.", "Purge cancelled"}}) {
        std::string cut = "no box";
        int width = 0;
        const auto answer = Ask(text, ui::Buttons::OK, title, 1, [&](HWND box) {
            HWND label = TextLabelOf(box);
            cut = label != nullptr ? LinesCutOrBroken(label, text) : "no label";
            RECT outer{};
            ::GetWindowRect(box, &outer);
            width = outer.right - outer.left;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(answer, ui::Answer::OK);
        EXPECT_EQ(cut, "") << title;
        const int dpi = ui::DpiOf(MainWindow());
        EXPECT_GE(width,
                  ui::TitleWidth(platform::Widened(title), dpi) + 3 * ::GetSystemMetrics(SM_CXSIZE))
            << "the title \"" << title << "\" beside a frame's three buttons";
    }
}

TEST_F(Win32MessageBoxes, BelongToTheirOwnerStandInFrontWithTheFocusAndWholeOnItsScreen) {
    const RECT work = WorkAreaOf(MainWindow());
    struct Seen {
        RECT at{};
        HWND owner = nullptr;
        bool inFront = false;
        bool focusOnDefault = false;
    };
    Seen seen;
    // A long line and a long title make the box wider than the system made
    // it; the main window mostly beyond the bottom right corner.
    ::SetWindowPos(MainWindow(), nullptr, work.right - 120, work.bottom - 60, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    // As long as a tenth of the screen's width in characters: longer than
    // the system's box holds unbroken, yet short enough to fit the screen
    // Wine happens to give (1024 or 1280 pixels wide).
    const std::string line(static_cast<std::size_t>((work.right - work.left) / 10), 'x');
    EXPECT_EQ(Ask(line + "\r\nPurge these?", ui::Buttons::YesNo, "Purge query", 2,
                  [&](HWND box) {
                      ::GetWindowRect(box, &seen.at);
                      seen.owner = ::GetWindow(box, GW_OWNER);
                      seen.inFront = ::GetForegroundWindow() == box;
                      seen.focusOnDefault = ::GetFocus() == ::GetDlgItem(box, IDNO);
                      ::PostMessageW(box, WM_COMMAND, IDNO, 0);
                  }),
              ui::Answer::No);
    EXPECT_EQ(seen.owner, MainWindow());
    EXPECT_TRUE(seen.inFront);
    EXPECT_TRUE(seen.focusOnDefault);
    EXPECT_GE(seen.at.left, work.left);
    EXPECT_GE(seen.at.top, work.top);
    EXPECT_LE(seen.at.right, work.right);
    EXPECT_LE(seen.at.bottom, work.bottom);
}
