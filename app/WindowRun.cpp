#include "app/WindowRun.h"

#include "app/Forms.h"
#include "app/frmConfirmFiles.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmFileOps.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmPurgeWarning.h"

Selection MainSelection(const frmMain& main) {
    Selection selection;
    selection.strFolderPath = main.strFolderPath[0];
    selection.strFileSpec = main.strFileSpec[0];
    selection.blnSubdirectories = main.blnSubdirectories;
    selection.blnConfirmFiles = main.blnConfirmFiles;
    selection.lngClusterSizeByDrive = main.lngClusterSizeByDrive;
    selection.sngPurgeSpeed = main.sngPurgeSpeed;
    return selection;
}

PurgeRun RunOfSelection(const Selection& selection, const PurgeTypeChoice& type,
                        const PurgeOptions& options) {
    PurgeRun run;
    run.strNextDirPath = selection.strFolderPath;
    run.strCurrentFileSpec = selection.strFileSpec;
    run.strFolderPath = selection.strFolderPath;
    run.blnSubdirectories = selection.blnSubdirectories;
    run.blnConfirmFiles = selection.blnConfirmFiles;
    run.intPurgeType = type.purgeType;
    run.intNumberOfPasses = type.passes;
    run.intNumOverwrites = type.NumOverwrites();
    run.strPurgeTypeNumPasses = PurgeTypeNumPasses(run.intPurgeType, run.intNumberOfPasses);
    run.strTypeOfPurge = TypeOfPurgeCaption(type);
    static_cast<PurgeOptions&>(run) = options;
    run.lngClusterSizeByDrive = selection.lngClusterSizeByDrive;
    run.sngPurgeSpeed = selection.sngPurgeSpeed;
    return run;
}

PurgeRun SelectionRun(FormSet& forms) {
    frmMain& main = forms.Main();
    PurgeRun run = RunOfSelection(MainSelection(main), forms.TypeOfPurge().Choice(),
                                  forms.PurgeConfirmation().Confirmed());
    // The listing repeats the purge type as the window shows it.
    run.strTypeOfPurge = main.lblTypeOfPurge.Caption();
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
