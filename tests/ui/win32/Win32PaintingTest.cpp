// What the Win32 back end's windows show, read back as pixels: a frame's
// inside and the labels in it show the form's background, and a panel of
// no colour of its own hides nothing beneath it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/frmMain.h"
#include "purge/frmPurgeConfirmation.h"
#include "tests/ui/win32/Win32TestSupport.h"

using namespace testing_support;

using Win32Painting = Win32Program;

TEST_F(Win32Painting, AFrameAndItsLabelShowTheFormsBackground) {
    drives().WriteFile("C:\\data\\a.txt", "a");
    frmMain& main = forms_->Main();
    main.strFolderPath[0] = "C:\\data\\";
    main.strFileSpec[0] = "a.txt";
    main.RefreshSelection();
    frmPurgeConfirmation& confirmation = forms_->PurgeConfirmation();
    confirmation.chkPurgeSlack.SetValue(1);
    bool seen = false;
    WhenModal([&](HWND modal) {
        if (FormOf(modal) == nullptr) ::PostMessageW(modal, WM_COMMAND, IDOK, 0);
        if (FormOf(modal) != &confirmation) return false;
        seen = true;
        HWND frame = Handle(confirmation, "fraClusterSize");
        HWND label = Handle(confirmation, "lblClusterSize");
        EXPECT_TRUE(::IsWindowVisible(frame));
        const Snapshot shot(modal);
        const int background = shot.ColourAt({2, 2});
        RECT inside{};
        ::GetClientRect(frame, &inside);
        // Beside the label, below the rows, and the label's empty end.
        EXPECT_EQ(shot.ColourAt(frame, {5, inside.bottom / 2}), background);
        EXPECT_EQ(shot.ColourAt(frame, {inside.right / 2, inside.bottom - 6}), background);
        RECT labelInside{};
        ::GetClientRect(label, &labelInside);
        EXPECT_EQ(shot.ColourAt(label, {labelInside.right - 2, labelInside.bottom - 2}), background);
        ::SendMessageW(Handle(confirmation, "cmdCancel"), BM_CLICK, 0, 0);
        return false;  // "Purge cancelled" is answered too
    });
    main.cmdProcessFiles(1).RaiseMouseUp();
    EXPECT_TRUE(seen);
}

TEST_F(Win32Painting, ThePanelOfTheSaveButtonsHidesNothingBeneathIt) {
    frmMain& main = forms_->Main();
    HWND window = WindowOf(main).Handle();
    HWND panel = Handle(main, "picSaveSetup");
    const Snapshot before(window);

    main.cmdSetup_MouseUp();
    ::SendMessageW(Handle(main, "cmdSaveSetup"), BM_CLICK, 0, 0);
    Pump();
    ASSERT_TRUE(::IsWindowVisible(panel));
    const Snapshot after(window);
    std::vector<RECT> buttons;
    for (HWND b = ::GetWindow(panel, GW_CHILD); b != nullptr; b = ::GetWindow(b, GW_HWNDNEXT)) {
        RECT place{};
        ::GetWindowRect(b, &place);
        buttons.push_back(place);
    }
    // What the panel's rectangle holds beside its buttons (the copyright
    // line and the first link) looks as it did before it opened.
    for (const char* name : {"lblCopyright", "lblTalvaneSystems"}) {
        HWND label = Handle(main, name);
        RECT panelPlace{};
        RECT labelPlace{};
        RECT common{};
        ::GetWindowRect(panel, &panelPlace);
        ::GetWindowRect(label, &labelPlace);
        ASSERT_TRUE(::IntersectRect(&common, &panelPlace, &labelPlace)) << name;
        int changed = 0;
        int text = 0;
        for (POINT at{0, labelPlace.top}; at.y < labelPlace.bottom; ++at.y) {
            for (at.x = labelPlace.left; at.x < labelPlace.right; ++at.x) {
                const bool underButton = std::any_of(buttons.begin(), buttons.end(),
                                                     [&](const RECT& b) { return ::PtInRect(&b, at); });
                POINT inside = at;
                ::ScreenToClient(window, &inside);
                if (underButton) continue;
                if (before.ColourAt(inside) != before.ColourAt({2, 2})) ++text;
                if (before.ColourAt(inside) != after.ColourAt(inside)) ++changed;
            }
        }
        EXPECT_GT(text, 20) << name << " shows its text";
        EXPECT_EQ(changed, 0) << name << " is painted over";
    }
    // Its buttons still take clicks.
    HWND notNow = Handle(main, "cmdDontSaveSetup");
    POINT middle{5, 5};
    ::MapWindowPoints(notNow, HWND_DESKTOP, &middle, 1);
    EXPECT_EQ(::WindowFromPoint(middle), notNow);
    ::SendMessageW(notNow, BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(panel));
}
