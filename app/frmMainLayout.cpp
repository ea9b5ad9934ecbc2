// The main window's controls, in the order of the form, and where they sit.
// Positions are twips; the menu is a column of buttons on the left, and each
// selection label sits to the right of the button that sets it.
#include "app/frmMain.h"

using ui::ControlKind;

namespace {

constexpr int kMenuLeft = 120, kMenuTop = 120, kMenuWidth = 2640;
constexpr int kButtonLeft = 120, kButtonWidth = 2400, kButtonHeight = 375;
constexpr int kFirstRow = 240, kRowStep = 440;
constexpr int kLabelLeft = kMenuLeft + kMenuWidth + 240;
constexpr int kLabelWidth = 7200, kLabelHeight = 255;

// Rows of the menu column, top to bottom.
enum Row {
    kRowSpecifyDirectory,
    kRowSpecifyFiles,
    kRowSubdirectories,
    kRowConfirmFiles,
    kRowSingleFile,
    kRowTypeOfPurge,
    kRowListFiles,
    kRowPurgeFiles,
    kRowPurgeSpeed,
    kRowWipeDisk,
    kRowReportScreen,
    kRowSetup,
    kRowHelp,
    kRowQuit,
    kRowCount
};

constexpr int RowTop(int row) { return kFirstRow + row * kRowStep; }
// A label beside a menu row, on the window.
constexpr int LabelTop(int row) { return kMenuTop + RowTop(row) + 60; }

}  // namespace

void frmMain::CreateControls() {
    const int menuHeight = RowTop(kRowCount - 1) + kButtonHeight + 240;
    auto button = [&](const char* name, const char* caption, int row, ui::Control* menu,
                      int index = -1) {
        Add(ControlKind::Button, name, caption, kButtonLeft, RowTop(row), kButtonWidth,
            kButtonHeight, menu, index);
    };
    auto label = [&](const char* name, const char* caption, int left, int top, int width,
                     int index = -1) {
        Add(ControlKind::Label, name, caption, left, top, width, kLabelHeight, nullptr, index);
    };

    auto& clock = Add(ControlKind::Timer, "Clock", "", 0, 0, 0, 0);
    clock.SetInterval(1000);
    clock.SetEnabled(false);  // runs only while a listing or purge runs

    // The setup panel covers the selection labels while it is open.
    auto& setup = Add(ControlKind::Frame, "fraSetup", "Setup", kLabelLeft,
                      LabelTop(kRowSetup) - 1700, 5400, 1500);
    Add(ControlKind::Button, "cmdKeepSetup", "Not now", 120, 1000, 1500, 375, &setup);
    Add(ControlKind::Button, "cmdLoadSetup", "Load setup", 120, 300, 1500, 375, &setup);
    Add(ControlKind::Button, "cmdSaveSetup", "Save setup", 1800, 300, 1500, 375, &setup);
    Add(ControlKind::Button, "cmdClearSetup", "Clear setup", 3480, 300, 1500, 375, &setup);
    Add(ControlKind::Button, "cmdRestoreSetup", "Restore setup", 1800, 1000, 1500, 375, &setup);

    auto& menu =
        Add(ControlKind::Panel, "fraMenu", "", kMenuLeft, kMenuTop, kMenuWidth, menuHeight);
    button("cmdPurgeSpeed", "Test purge speed", kRowPurgeSpeed, &menu);
    button("cmdSingleFile", "Single file", kRowSingleFile, &menu);
    button("cmdWipeDisk", "Wipe disk", kRowWipeDisk, &menu);
    button("cmdTypeOfPurge", "Type of purge", kRowTypeOfPurge, &menu);
    button("cmdProcessFiles", "List files, estimate time", kRowListFiles, &menu, 2);
    button("cmdProcessFiles", "Purge files", kRowPurgeFiles, &menu, 1);
    button("cmdConfirmFiles", "Confirm files?", kRowConfirmFiles, &menu);
    button("cmdSetup", "Setup", kRowSetup, &menu);
    button("cmdQuit", "Quit", kRowQuit, &menu);
    button("cmdSpecifyDirectory", "Specify folder", kRowSpecifyDirectory, &menu, 0);
    button("cmdSpecifyFiles", "Specify files", kRowSpecifyFiles, &menu, 0);
    button("cmdSubdirectories", "Subfolders?", kRowSubdirectories, &menu);
    button("cmdReportScreen", "Report window", kRowReportScreen, &menu);
    button("cmdHelp", "Help", kRowHelp, &menu);

    auto& save = Add(ControlKind::Panel, "picSaveSetup", "", kLabelLeft, LabelTop(kRowSetup) - 1700,
                     5400, 1500);
    Add(ControlKind::Button, "cmdSaveSetupAsOperationFile", "Save setup as operation file", 120,
        120, 3600, 375, &save);
    Add(ControlKind::Button, "cmdSaveSetupForNextRun", "Save setup for next run", 120, 560, 3600,
        375, &save);
    Add(ControlKind::Button, "cmdDontSaveSetup", "Not now", 120, 1000, 3600, 375, &save);

    label("lblEstimatedTime", "", kLabelLeft, LabelTop(kRowListFiles), kLabelWidth);
    label("lblSingleFile", "To purge multiple files specify folder and files.", kLabelLeft,
          LabelTop(kRowSingleFile), kLabelWidth);
    Add(ControlKind::Link, "lblOnlineDocumentation", "Online documentation", 0, 0, 2000,
        kLabelHeight);
    Add(ControlKind::Link, "lblTalvaneSystems", "Talvane Systems", 0, 0, 1500, kLabelHeight);
    label("lblTypeOfPurge", "", kLabelLeft, LabelTop(kRowTypeOfPurge), kLabelWidth);
    label("lblConfirmFiles", "", kLabelLeft, LabelTop(kRowConfirmFiles), 500);
    label("lblConfirmFiles2", "", kLabelLeft + 600, LabelTop(kRowConfirmFiles), kLabelWidth - 600);
    label("lblPurgeSpeed", "", kLabelLeft, LabelTop(kRowPurgeSpeed), kLabelWidth);
    label("lblSetupFilename", "", kLabelLeft, LabelTop(kRowSetup), kLabelWidth);
    label("lblCopyright", "Copyright (C) 2007 Talvane Systems", 0, 0, 3300);
    label("lblFiles2", "", kLabelLeft + 1500, LabelTop(kRowSpecifyFiles), kLabelWidth - 1500, 0);
    label("lblSubdirectories2", "(Do not operate on files in lower subfolders.)", kLabelLeft + 600,
          LabelTop(kRowSubdirectories), kLabelWidth - 600);
    label("lblFiles", "", kLabelLeft, LabelTop(kRowSpecifyFiles), kLabelWidth, 0);
    label("lblSubdirectories", "", kLabelLeft, LabelTop(kRowSubdirectories), 500);
    label("lblDirectory", "", kLabelLeft, LabelTop(kRowSpecifyDirectory), kLabelWidth, 0);

    setup.SetVisible(false);
    save.SetVisible(false);
    Resize(kLabelLeft + kLabelWidth + 240, kMenuTop + menuHeight + 720);
    // Smaller, the window would cut off the last menu buttons and the labels.
    SetMinimumSize(Width(), Height());
}
