#include "app/SelectionRuns.h"

#include "app/Forms.h"
#include "app/frmMainRuns.h"
#include "purge/StrProc.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "support/Folder.h"
#include "ui/Ui.h"

namespace {

// The files of the selection's own folder that match. With no subfolders
// to walk, a selection with none is refused before anything opens.
std::int32_t MatchingFiles(const Selection& selection) {
    return NumMatchingFiles(selection.strFolderPath, selection.strFileSpec);
}

// Asks the purge confirmation about the selection, whose folder has
// `matching` files: true when the user confirmed it.
bool PurgeConfirmed(Selection& selection, std::int32_t matching, PurgeOptions& boxes,
                    frmPurgeConfirmation& confirmation, SelectionRunSteps& steps) {
    const std::string& folder = selection.strFolderPath;
    const std::string& spec = selection.strFileSpec;
    // The confirmation offers the cluster sizes of the steps' table and
    // keeps the one chosen there; the run takes them from the selection.
    auto* const clusterSizesBefore = confirmation.lngClusterSizeByDrive;
    std::array<std::int32_t, 26>& clusterSizes = steps.ClusterSizeTable(selection);
    confirmation.lngClusterSizeByDrive = &clusterSizes;
    confirmation.strPurgeConfirmationMessage =
        PurgeQuestion(selection, HasWildcards(spec), matching);
    confirmation.strDriveLetter = folder.substr(0, 1);
    confirmation.blnSubdirectories = selection.blnSubdirectories;
    confirmation.intNumFiles = matching;
    confirmation.SetBoxes(boxes);
    steps.ConfirmationOpening(confirmation);
    confirmation.Form_Activate();
    confirmation.ShowModal();
    boxes = confirmation.Boxes();
    confirmation.lngClusterSizeByDrive = clusterSizesBefore;
    selection.lngClusterSizeByDrive = clusterSizes;
    return confirmation.blnConfirm;
}

}  // namespace

void ListSelection(const Selection& selection, const PurgeTypeChoice& type,
                   const PurgeOptions& confirmed, FormSet& windows, const std::string& productName,
                   SelectionRunSteps& steps) {
    bool displayFolderNames = true;
    bool displayFileNames = true;
    if (selection.blnSubdirectories) {
        displayFileNames = false;
        ui::Answer answer = ui::TheUi().MsgBox("Display folder names?", ui::Buttons::YesNoCancel,
                                               ui::Icon::None, "List files");
        if (answer == ui::Answer::Cancel) return;
        displayFolderNames = answer == ui::Answer::Yes;
    }
    if (!selection.blnSubdirectories && MatchingFiles(selection) == 0) {
        ui::TheUi().MsgBox(NoFilesToListMessage(selection), ui::Buttons::OK, ui::Icon::Exclamation,
                           productName);
        return;
    }
    steps.Begin();
    frmReport& report = windows.Report();
    PurgeRun run = RunOfSelection(selection, type, confirmed);
    run.blnListFiles = true;
    run.blnDisplayFolderNames = displayFolderNames;
    run.blnDisplayFileNames = displayFileNames;
    steps.RunReady(run);
    report.SetCaption(ListingCaption(selection));
    steps.ReportOpening(report);
    ShowReport(report);
    WindowRunHost host(windows);
    report.ProcessFiles(run, host);
    steps.End();
}

void PurgeSelection(Selection& selection, const PurgeTypeChoice& type, PurgeOptions& boxes,
                    FormSet& windows, SelectionRunSteps& steps) {
    // Counted once: the refusal and the confirmation's question both need it.
    const std::int32_t matching = MatchingFiles(selection);
    if (!selection.blnSubdirectories && matching == 0) {
        ui::TheUi().MsgBox(NoFilesToPurgeMessage(selection), ui::Buttons::OK, ui::Icon::Exclamation,
                           "Purge files");
        return;
    }
    steps.Begin();
    frmPurgeConfirmation& confirmation = windows.PurgeConfirmation();
    if (!PurgeConfirmed(selection, matching, boxes, confirmation, steps)) {
        ui::TheUi().MsgBox("No files purged.", ui::Buttons::OK, ui::Icon::None, "Purge cancelled");
        steps.End();
        return;
    }
    frmReport& report = windows.Report();
    // Not the caption of the last listing: this run destroys files.
    report.SetCaption("Purge files");
    steps.ReportOpening(report);
    ShowReport(report);
    report.blnStop = false;
    // The options as confirmed just now.
    PurgeRun run = RunOfSelection(selection, type, confirmation.Confirmed());
    run.blnPurgeFiles = true;
    steps.RunReady(run);
    WindowRunHost host(windows);
    const RunOutcome outcome = report.ProcessFiles(run, host);
    steps.Purged(run, outcome);
    steps.End();
}
