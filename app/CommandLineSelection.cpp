#include "app/CommandLineSelection.h"

#include "app/Forms.h"
#include "app/SetupFile.h"
#include "app/frmMainRuns.h"
#include "app/frmTypeOfPurge.h"
#include "disk/DiskProc.h"
#include "purge/StrProc.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "support/Folder.h"
#include "ui/Ui.h"

Selection SelectionOfSetup(const SetupRecord& record, FormSet& windows) {
    ApplySetupChoices(record, windows.TypeOfPurge(), windows.PurgeConfirmation());
    Selection selection;
    selection.strFolderPath = record.folder;
    selection.strFileSpec = record.fileSpec;
    selection.blnConfirmFiles = record.confirmationFlag != 0;
    const std::string& folder = selection.strFolderPath;
    if (folder.empty()) {
        selection.strFileSpec.clear();
        return selection;
    }
    const std::int32_t subfolders = NumSubfolders(folder);
    if (subfolders == -1) {
        if (DriveIsReady(folder.substr(0, 1) + ":")) {
            ui::TheUi().MsgBox("Error when attempting to access " + folder + ".", ui::Buttons::OK,
                               ui::Icon::Exclamation, "Error");
        }
        selection.strFolderPath.clear();
        selection.strFileSpec.clear();
        return selection;
    }
    selection.blnSubdirectories = subfolders > 0 && record.subfolderFlag != 0;
    return selection;
}

void ListSelection(const Selection& selection, FormSet& windows, const std::string& productName) {
    bool displayFolderNames = true;
    bool displayFileNames = true;
    if (selection.blnSubdirectories) {
        displayFileNames = false;
        ui::Answer answer = ui::TheUi().MsgBox("Display folder names?", ui::Buttons::YesNoCancel,
                                               ui::Icon::None, "List files");
        if (answer == ui::Answer::Cancel) return;
        displayFolderNames = answer == ui::Answer::Yes;
    }
    if (!selection.blnSubdirectories &&
        NumMatchingFiles(selection.strFolderPath, selection.strFileSpec) == 0) {
        ui::TheUi().MsgBox(NoFilesToListMessage(selection), ui::Buttons::OK,
                           ui::Icon::Exclamation, productName);
        return;
    }
    frmReport& report = windows.Report();
    PurgeRun run = RunOfSelection(selection, windows.TypeOfPurge(), windows.PurgeConfirmation());
    run.blnListFiles = true;
    run.blnDisplayFolderNames = displayFolderNames;
    run.blnDisplayFileNames = displayFileNames;
    report.SetCaption(ListingCaption(selection));
    ShowReport(report);
    WindowRunHost host(windows);
    report.ProcessFiles(run, host);
}

void PurgeSelection(Selection& selection, FormSet& windows) {
    const std::string& folder = selection.strFolderPath;
    const std::string& spec = selection.strFileSpec;
    if (!selection.blnSubdirectories && NumMatchingFiles(folder, spec) == 0) {
        ui::TheUi().MsgBox(NoFilesToPurgeMessage(selection), ui::Buttons::OK,
                           ui::Icon::Exclamation, "Purge files");
        return;
    }
    frmPurgeConfirmation& confirmation = windows.PurgeConfirmation();
    // The confirmation offers the selection's cluster sizes and keeps the
    // one chosen there, for this run only.
    auto* const clusterSizes = confirmation.lngClusterSizeByDrive;
    confirmation.lngClusterSizeByDrive = &selection.lngClusterSizeByDrive;
    const std::int32_t matching = NumMatchingFiles(folder, spec);
    confirmation.strPurgeConfirmationMessage = PurgeQuestion(selection, HasWildcards(spec), matching);
    confirmation.strDriveLetter = folder.substr(0, 1);
    confirmation.blnSubdirectories = selection.blnSubdirectories;
    confirmation.intNumFiles = matching;
    confirmation.Form_Activate();
    confirmation.ShowModal();
    confirmation.lngClusterSizeByDrive = clusterSizes;

    if (!confirmation.blnConfirm) {
        ui::TheUi().MsgBox("No files purged.", ui::Buttons::OK, ui::Icon::None, "Purge cancelled");
        return;
    }
    frmReport& report = windows.Report();
    report.SetCaption("Purge files");
    ShowReport(report);
    report.blnStop = false;
    PurgeRun run = RunOfSelection(selection, windows.TypeOfPurge(), confirmation);
    run.blnPurgeFiles = true;
    WindowRunHost host(windows);
    report.ProcessFiles(run, host);
}
