// The dialogs on the Win32 back end: each opens modally beside the main
// window, which takes no input meanwhile, shows its controls, and closes by
// its buttons, the keyboard or a message box's answer.
#include <gtest/gtest.h>

#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "app/frmTypeOfPurge.h"
#include "disk/frmFillDisk.h"
#include "tests/ui/win32/Win32TestSupport.h"
#include "ui/win32/ScreenMetrics.h"

using namespace testing_support;

namespace {

class Win32Dialogs : public Win32Program {
  protected:
    void SetUp() override {
        drives().WriteFile("C:\\data\\a.txt", "a");
        Win32Program::SetUp();
    }
};

}  // namespace

TEST_F(Win32Dialogs, PurgeTypeDialogShowsItsListsBesideTheMainWindowAndCancels) {
    frmMain& main = forms_->Main();
    HWND mainWindow = WindowOf(main).Handle();
    ::SetWindowPos(mainWindow, nullptr, 40, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    const int dpi = WindowOf(main).Dpi();
    EXPECT_EQ(main.Left(), ui::TwipsOf(40, dpi)) << "the move reaches the form";
    auto& dialog = forms_->TypeOfPurge();
    bool seen = false;
    RECT at{};
    WhenModal([&](HWND modal) {
        if (FormOf(modal) != &dialog) return false;
        seen = true;
        EXPECT_EQ(TextOf(modal), "What type of purge should be used?");
        EXPECT_FALSE(::IsWindowEnabled(mainWindow)) << "the main window waits";
        EXPECT_EQ(::SendMessageW(Handle(dialog, "optPurgeType", 2), BM_GETCHECK, 0, 0),
                  BST_CHECKED);
        EXPECT_EQ(::SendMessageW(Handle(dialog, "cboNumberOfPasses", 2), CB_GETCOUNT, 0, 0), 6);
        EXPECT_FALSE(::IsWindowVisible(Handle(dialog, "cboNumberOfPasses", 1)));
        ::GetWindowRect(modal, &at);
        ::SendMessageW(Handle(dialog, "cmdCancel"), BM_CLICK, 0, 0);
        return true;
    });
    main.cmdTypeOfPurge_MouseUp();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(::IsWindowVisible(WindowOf(dialog).Handle()));
    EXPECT_TRUE(::IsWindowEnabled(mainWindow));
    EXPECT_TRUE(main.fraMenu.Enabled());
    // Beside the main window's menu, as far as the screen lets it.
    RECT screen{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    const int left = ui::PixelsOf(main.Left() + main.fraMenu.Width() + 250, dpi);
    const int top = ui::PixelsOf(main.Top() + main.cmdProcessFiles(2).Top() + 440, dpi);
    EXPECT_NEAR(at.left, std::min<int>(left, screen.right - (at.right - at.left)), 1);
    EXPECT_NEAR(at.top, std::min<int>(top, screen.bottom - (at.bottom - at.top)), 1);
    EXPECT_GT(at.left, 40 + ui::PixelsOf(main.fraMenu.Width(), dpi) - 2) << "not over the menu";
}

TEST_F(Win32Dialogs, FileSpecificationDialogAcceptsAllFiles) {
    forms_->Main().strFolderPath[0] = "C:\\data\\";
    auto& dialog = forms_->SpecifyFiles();
    bool seen = false;
    WhenModal([&](HWND modal) {
        if (FormOf(modal) != &dialog) return false;
        seen = true;
        ::SendMessageW(Handle(dialog, "optAllFiles"), BM_CLICK, 0, 0);
        EXPECT_EQ(dialog.optAllFiles.Value(), 1);
        ::SendMessageW(Handle(dialog, "cmdAccept"), BM_CLICK, 0, 0);
        return true;
    });
    forms_->Main().cmdSpecifyFiles_MouseUp(0);
    EXPECT_TRUE(seen);
    EXPECT_EQ(forms_->Main().strFileSpec[0], "*.*");
}

TEST_F(Win32Dialogs, SpaceEnterAndEscapeCloseADialogAsItsCancelButtonDoes) {
    frmMain& main = forms_->Main();
    main.strFolderPath[0] = "C:\\data\\";
    auto& dialog = forms_->SpecifyFiles();
    for (int key : {VK_SPACE, VK_RETURN, VK_ESCAPE}) {
        bool stayedOpen = false;
        WhenModal([&](HWND modal) {
            if (FormOf(modal) != &dialog) return false;
            // The dialog puts the focus on Cancel; the key presses it.
            EXPECT_TRUE(dialog.cmdCancel.HasFocus()) << key;
            EXPECT_EQ(::GetFocus(), Handle(dialog, "cmdCancel")) << key;
            PressKey(::GetFocus(), key);
            if (dialog.Visible()) {
                stayedOpen = true;
                dialog.Hide();
            }
            return true;
        });
        dialog.blnAccept = true;
        main.cmdSpecifyFiles_MouseUp(0);
        EXPECT_FALSE(stayedOpen) << "key " << key << " left the dialog open";
        EXPECT_FALSE(dialog.blnAccept) << key;
    }
}

TEST_F(Win32Dialogs, AMessageBoxShowsItsTextAndDefaultButtonAndGivesTheAnswer) {
    std::string title;
    std::string defaultButton;
    WhenModal([&](HWND box) {
        title = TextOf(box);
        for (int id : {IDYES, IDNO}) {
            HWND button = ::GetDlgItem(box, id);
            if ((::GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) {
                defaultButton = TextOf(button);
            }
        }
        ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        return true;
    });
    EXPECT_EQ(ui::TheUi().MsgBox("Purge these?\r\nAll of them.", ui::Buttons::YesNo,
                                 ui::Icon::Question, "Purge query", 2),
              ui::Answer::No);
    EXPECT_EQ(title, "Purge query");
    EXPECT_EQ(defaultButton, "&No") << "the second button, as asked";
    EXPECT_TRUE(::IsWindowEnabled(WindowOf(forms_->Main()).Handle()));
}

TEST_F(Win32Dialogs, F10ReachesTheFillWindowAndLeavesItsKeysToIt) {
    frmFillDisk& fill = forms_->FillDisk();
    fill.OnActivate = nullptr;  // shown without starting a fill
    fill.Show();
    HWND window = WindowOf(fill).Handle();
    fill.blnStopp = false;
    // F10 comes as a system key: it must not put the window into menu
    // mode, which would swallow every key after it.
    PressKey(window, VK_F10);
    EXPECT_TRUE(fill.blnStopp) << "the release of F10 asks the fill to stop";
    fill.blnStopp = false;
    PressKey(window, VK_F10);
    EXPECT_TRUE(fill.blnStopp) << "a second F10 as well";
    fill.Hide();
}

TEST_F(Win32Dialogs, ADialogOfALowMainWindowOpensWholeOnTheScreen) {
    frmMain& main = forms_->Main();
    HWND mainWindow = WindowOf(main).Handle();
    RECT screen{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    // Moved to the bottom right, most of it beyond the screen.
    ::SetWindowPos(mainWindow, nullptr, screen.right - 300, screen.bottom - 150, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    auto& dialog = forms_->TypeOfPurge();
    RECT at{};
    HWND owner = nullptr;
    WhenModal([&](HWND modal) {
        if (FormOf(modal) != &dialog) return false;
        ::GetWindowRect(modal, &at);
        owner = ::GetWindow(modal, GW_OWNER);
        ::SendMessageW(Handle(dialog, "cmdCancel"), BM_CLICK, 0, 0);
        return true;
    });
    main.cmdTypeOfPurge_MouseUp();
    EXPECT_EQ(owner, mainWindow) << "in front of the main window";
    EXPECT_GE(at.left, screen.left);
    EXPECT_GE(at.top, screen.top);
    EXPECT_LE(at.right, screen.right) << "Yes and No can be reached";
    EXPECT_LE(at.bottom, screen.bottom);
}
