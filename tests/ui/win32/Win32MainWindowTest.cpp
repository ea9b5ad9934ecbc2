// The real main window on the Win32 back end, driven through window
// messages: its captions, the menu buttons acting on the mouse release
// only, a layout with nothing on top of anything, and a DPI change.
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "tests/ui/win32/Win32TestSupport.h"
#include "ui/win32/ScreenMetrics.h"

using namespace testing_support;

using Win32MainWindow = Win32Program;

TEST_F(Win32MainWindow, StartsWithItsCaptionAndActsOnMouseReleaseOrKey) {
    frmMain& main = forms_->Main();
    HWND window = WindowOf(main).Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(TextOf(window), "Kestrane 8.27");
    HWND help = Handle(main, "cmdHelp");
    EXPECT_EQ(TextOf(help), "Help");
    EXPECT_EQ(PlaceOf(help).left, ui::PixelsOf(main.cmdHelp.Left(), WindowOf(main).Dpi()));

    // The mouse moving over a menu button gives it the focus.
    ::SendMessageW(Handle(main, "cmdWipeDisk"), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(main.cmdWipeDisk.HasFocus());

    // Help pressed from the keyboard shows its box, as a press and release
    // of the mouse does. Every box is counted and closed.
    int boxes = 0;
    WhenModal([&](HWND modal) {
        ++boxes;
        ::PostMessageW(modal, WM_COMMAND, IDOK, 0);
        return false;
    });
    ::SetForegroundWindow(window);
    ::SetFocus(help);
    PressKey(help, VK_SPACE);
    PressKey(help, VK_RETURN);
    EXPECT_EQ(boxes, 2) << "Help's box on Space and on Enter";
    MouseClick(help);
    Pump();
    EXPECT_EQ(boxes, 3) << "Help's box on the mouse release";

    main.lblEstimatedTime.SetCaption("About 3 minutes");
    EXPECT_EQ(TextOf(Handle(main, "lblEstimatedTime")), "About 3 minutes");
}

TEST_F(Win32MainWindow, NothingOverlapsAndTheMenuStaysWhenShrunk) {
    frmMain& main = forms_->Main();
    ui::FormWindow& window = WindowOf(main);
    EXPECT_EQ(Overlaps(window), "");
    EXPECT_EQ(Clipped(window), "");
    main.cmdSetup_MouseUp();
    EXPECT_TRUE(::IsWindowVisible(Handle(main, "fraSetup")));
    EXPECT_EQ(Overlaps(window), "") << "with the setup panel open";

    // The smallest size the user can drag it to keeps the menu whole.
    ::SetWindowPos(window.Handle(), nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT inside{};
    ::GetClientRect(window.Handle(), &inside);
    for (const char* name : {"cmdSetup", "cmdHelp", "cmdQuit"}) {
        RECT button{};
        ::GetWindowRect(Handle(main, name), &button);
        ::MapWindowPoints(HWND_DESKTOP, window.Handle(), reinterpret_cast<POINT*>(&button), 2);
        EXPECT_LE(button.right, inside.right) << name;
        EXPECT_LE(button.bottom, inside.bottom) << name;
    }
}

TEST_F(Win32MainWindow, ControlsFollowAChangeOfTheMonitorsDpi) {
    frmMain& main = forms_->Main();
    ui::FormWindow& window = WindowOf(main);
    const int before = window.Dpi();
    HWND help = Handle(main, "cmdHelp");
    for (int dpi : {144, before}) {
        RECT suggested{};
        ::GetWindowRect(window.Handle(), &suggested);
        ::SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(window.Dpi(), dpi);
        const RECT place = PlaceOf(help);
        EXPECT_EQ(place.left, main.cmdHelp.Left() * dpi / 1440) << dpi;
        EXPECT_EQ(place.right - place.left, main.cmdHelp.Width() * dpi / 1440) << dpi;
        RECT inside{};
        ::GetClientRect(window.Handle(), &inside);
        EXPECT_NEAR(inside.right, ui::PixelsOf(main.Width(), dpi), 1) << dpi;
        // The text grows with the pixels: a caption measured at 96 DPI still fits.
        HDC dc = ::GetDC(help);
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(help, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        ::ReleaseDC(help, dc);
        EXPECT_GT(metrics.tmHeight, dpi / 12) << dpi;
        EXPECT_EQ(Overlaps(window), "") << dpi;
        EXPECT_EQ(Clipped(window), "") << dpi;
    }
}

TEST_F(Win32MainWindow, TabVisitsTheMenuTopToBottomWithTheFocusDrawn) {
    frmMain& main = forms_->Main();
    HWND window = WindowOf(main).Handle();
    ::SetForegroundWindow(window);
    ::SetFocus(Handle(main, "cmdSpecifyDirectory", 0));
    EXPECT_EQ(::SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0)
        << "the focus is drawn before any key";
    std::vector<std::string> visited;
    for (int i = 0; i < 14; ++i) {
        HWND focused = ::GetFocus();
        visited.push_back(TextOf(focused));
        PressKey(focused, VK_TAB);
    }
    EXPECT_EQ(visited, (std::vector<std::string>{
                           "Specify folder", "Specify files", "Subfolders?", "Confirm files?",
                           "Single file", "Type of purge", "List files, estimate time",
                           "Purge files", "Test purge speed", "Wipe disk", "Report window",
                           "Setup", "Help", "Quit"}));
}
