#include "app/WindowRun.h"

#include "app/Forms.h"
#include "app/frmConfirmFiles.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmFileOps.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmPurgeWarning.h"

PurgeRun SelectionRun(FormSet& forms) {
    frmMain& main = forms.Main();
    const frmTypeOfPurge& type = forms.TypeOfPurge();
    const frmPurgeConfirmation& options = forms.PurgeConfirmation();
    PurgeRun run;
    run.strNextDirPath = main.strFolderPath[0];
    run.strCurrentFileSpec = main.strFileSpec[0];
    run.strFolderPath = main.strFolderPath[0];
    run.blnSubdirectories = main.blnSubdirectories;
    run.blnConfirmFiles = main.blnConfirmFiles;
    run.intPurgeType = type.GetPurgeType();
    run.intNumberOfPasses = type.GetNumberOfPasses();
    run.intNumOverwrites = type.GetNumOverwrites();
    run.strPurgeTypeNumPasses =
        frmMain::PurgeTypeNumPasses(run.intPurgeType, run.intNumberOfPasses);
    run.strTypeOfPurge = main.lblTypeOfPurge.Caption();
    run.blnPurgeSlack = options.blnPurgeSlack;
    run.blnDoNotDeletePurgedFiles = options.blnDoNotDeletePurgedFiles;
    run.blnOKToPurgeReadOnlyFiles = options.blnOKToPurgeReadOnlyFiles;
    run.blnOKToPurgeSensitiveFiles = options.blnOKToPurgeSensitiveFiles;
    run.blnFolderNamesOnly = options.blnFolderNamesOnly;
    run.blnDeleteEmptyFolders = options.blnDeleteEmptyFolders;
    run.lngClusterSizeByDrive = main.lngClusterSizeByDrive;
    run.sngPurgeSpeed = main.sngPurgeSpeed;
    return run;
}

frmFileOps& WindowRunHost::FileOps() { return forms_.FileOps(); }
frmAntiVirusQuery& WindowRunHost::AntiVirusQuery() { return forms_.AntiVirusQuery(); }
frmPurgeWarning& WindowRunHost::PurgeWarning() { return forms_.PurgeWarning(); }

bool WindowRunHost::ConfirmFile(const std::string& shownPath, int left, int top) {
    frmConfirmFiles& confirm = forms_.ConfirmFiles();
    confirm.blnFileConfirmed = true;
    confirm.lblFile.SetCaption(shownPath);
    // The main window waits while the question is open.
    frmMain* main = forms_.MainIfCreated();
    if (main != nullptr) main->SetEnabled(false);
    confirm.MoveTo(left, top);
    confirm.ShowModal();
    if (main != nullptr) main->SetEnabled(true);
    return confirm.blnFileConfirmed;
}

void WindowRunHost::FolderCounted(std::int32_t files) {
    if (frmMain* main = forms_.MainIfCreated()) main->intNumFiles = files;
}

void WindowRunHost::ShowEstimatedTime(const std::string& text) {
    if (frmMain* main = forms_.MainIfCreated()) main->lblEstimatedTime.SetCaption(text);
}
