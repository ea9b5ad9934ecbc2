// "List files, estimate time" and "Purge files" of the main window.
#include "app/frmMainRuns.h"

#include "app/Forms.h"
#include "app/WindowRun.h"
#include "app/frmMain.h"
#include "purge/StrProc.h"
#include "purge/frmReport.h"
#include "purge/frmReportLayout.h"
#include "support/Folder.h"
#include "ui/Ui.h"

namespace {

void SetRunMenusEnabled(frmMain& main, bool enabled) {
    main.fraMenu.SetEnabled(enabled);
    main.fraSetup.SetEnabled(enabled);
}

void FocusAfterRun(frmMain& main, int index) {
    frmReport& report = Forms().Report();
    if (report.Visible()) {
        report.txbText.SetFocus();
    } else {
        main.cmdProcessFiles(index).SetFocus();
    }
}

}  // namespace

std::string NoFilesToListMessage(const Selection& selection) {
    const std::string& folder = selection.strFolderPath;
    const std::string& spec = selection.strFileSpec;
    if (spec == "*.*") return "There are no files in " + VisibleText(folder) + ".";
    if (HasWildcards(spec)) {
        return "There are no files in " + VisibleText(folder) + " matching " + VisibleText(spec) +
               ".";
    }
    return NoSuchFileMessage(folder, spec);
}

std::string ListingCaption(const Selection& selection) {
    if (selection.blnSubdirectories) return "Estimate purge time";
    if (selection.strFileSpec == "*.*") return "List all files";
    return "List files " + selection.strFileSpec;
}

void ShowReport(frmReport& report) {
    // Its own width again after a wipe made it as wide as the main window.
    report.Resize(report_layout::kWindowWidth, report.Height());
    report.Show();
    report.Form_Activate();
}

void ShowReportBesideMain(frmMain& main) {
    // Beside the main window, not over it.
    frmReport& report = Forms().Report();
    report.MoveTo(main.Left() + main.Width(), main.Top());
    ShowReport(report);
}

void frmMain::cmdProcessFiles_MouseUp(int index) {
    if (!FilesSpecified()) {
        ui::TheUi().MsgBox("No files specified.", ui::Buttons::OK, ui::Icon::Exclamation, "Error");
        return;
    }
    if (index == 1) {
        PurgeSelectedFiles(*this);
        return;
    }
    bool displayFolderNames = true;
    bool displayFileNames = true;
    if (blnSubdirectories) {
        displayFileNames = false;
        ui::Answer answer = ui::TheUi().MsgBox("Display folder names?", ui::Buttons::YesNoCancel,
                                               ui::Icon::None, "List files");
        if (answer == ui::Answer::Cancel) return;
        displayFolderNames = answer == ui::Answer::Yes;
    }
    ListSelectedFiles(*this, displayFolderNames, displayFileNames);
}

void ListSelectedFiles(frmMain& main, bool displayFolderNames, bool displayFileNames) {
    const std::string& folder = main.strFolderPath[0];
    const std::string& spec = main.strFileSpec[0];
    main.blnMultipleFiles = HasWildcards(spec);
    if (!main.blnSubdirectories && NumMatchingFiles(folder, spec) == 0) {
        // A box without a title of its own carries the program's name.
        ui::TheUi().MsgBox(NoFilesToListMessage(MainSelection(main)), ui::Buttons::OK,
                           ui::Icon::Exclamation, main.strProductName);
        return;
    }
    SetRunMenusEnabled(main, false);
    frmReport& report = Forms().Report();
    PurgeRun run = SelectionRun(Forms());
    run.blnListFiles = true;
    run.blnDisplayFolderNames = displayFolderNames;
    run.blnDisplayFileNames = displayFileNames;
    report.SetCaption(ListingCaption(MainSelection(main)));
    ShowReportBesideMain(main);
    WindowRunHost host(Forms());
    report.ProcessFiles(run, host);
    SetRunMenusEnabled(main, true);
    FocusAfterRun(main, 2);
}
