// "List files, estimate time" and "Purge files" of the main window.
#include "app/frmMainRuns.h"

#include "app/Forms.h"
#include "app/SelectionRuns.h"
#include "app/WindowRun.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "purge/StrProc.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "purge/frmReportLayout.h"
#include "support/Folder.h"
#include "ui/Ui.h"

namespace {

// The confirmation opens just below the purge button.
constexpr int kBelowButton = 400;

// What the main window adds to a run of its selection: its menus wait while
// the run goes on, the dialogs open beside it, and it keeps the cluster
// sizes, the count of matching files and what a purge took away.
class MainWindowSteps : public SelectionRunSteps {
  public:
    // `button` is the element of cmdProcessFiles that started the run.
    MainWindowSteps(frmMain& main, int button) : main_(main), button_(button) {}

    void Begin() override { SetRunMenusEnabled(false); }
    void End() override {
        SetRunMenusEnabled(true);
        frmReport& report = Forms().Report();
        if (report.Visible()) {
            report.txbText.SetFocus();
        } else {
            main_.cmdProcessFiles(button_).SetFocus();
        }
    }
    // A cluster size chosen at the confirmation stands for the rest of the
    // program's run.
    std::array<std::int32_t, 26>& ClusterSizeTable(Selection&) override {
        return main_.lngClusterSizeByDrive;
    }
    void ConfirmationOpening(frmPurgeConfirmation& confirmation) override {
        main_.intNumFiles = confirmation.intNumFiles;
        const ui::Control& button = main_.cmdProcessFiles(button_);
        confirmation.MoveTo(main_.Left() + main_.fraMenu.Left() + button.Left(),
                            main_.Top() + main_.fraMenu.Top() + button.Top() + kBelowButton);
    }
    // Beside the main window, not over it.
    void ReportOpening(frmReport& report) override {
        report.MoveTo(main_.Left() + main_.Width(), main_.Top());
    }
    // The report repeats the purge type as the window shows it.
    void RunReady(PurgeRun& run) override { run.strTypeOfPurge = main_.lblTypeOfPurge.Caption(); }
    // Purged and deleted files are no longer there to select.
    void Purged(const PurgeRun& run, const RunOutcome& outcome) override {
        if (outcome.lngNumFilesPurged >= 1 && !run.blnDoNotDeletePurgedFiles) {
            main_.strFileSpec[0].clear();
            main_.ShowSelection(0);
        }
    }

  private:
    void SetRunMenusEnabled(bool enabled) {
        main_.fraMenu.SetEnabled(enabled);
        main_.fraSetup.SetEnabled(enabled);
    }

    frmMain& main_;
    const int button_;
};

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

void frmMain::cmdProcessFiles_MouseUp(int index) {
    if (!FilesSpecified()) {
        ui::TheUi().MsgBox("No files specified.", ui::Buttons::OK, ui::Icon::Exclamation, "Error");
        return;
    }
    if (index == 1) {
        PurgeSelectedFiles(*this);
    } else {
        ListSelectedFiles(*this);
    }
}

void ListSelectedFiles(frmMain& main) {
    main.blnMultipleFiles = HasWildcards(main.strFileSpec[0]);
    MainWindowSteps steps(main, 2);
    ListSelection(MainSelection(main), Forms().TypeOfPurge().Choice(),
                  Forms().PurgeConfirmation().Confirmed(), Forms(), main.strProductName, steps);
}

void PurgeSelectedFiles(frmMain& main) {
    main.blnMultipleFiles = HasWildcards(main.strFileSpec[0]);
    Selection selection = MainSelection(main);
    MainWindowSteps steps(main, 1);
    // The window's boxes live in its purge confirmation and stay there.
    PurgeOptions boxes = Forms().PurgeConfirmation().Boxes();
    PurgeSelection(selection, Forms().TypeOfPurge().Choice(), boxes, Forms(), steps);
}
