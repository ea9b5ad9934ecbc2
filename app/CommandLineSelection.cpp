#include "app/CommandLineSelection.h"

#include "app/Forms.h"
#include "app/SelectionRuns.h"
#include "app/SetupFile.h"
#include "disk/DiskProc.h"
#include "support/Folder.h"
#include "ui/Ui.h"

Selection SelectionOfSetup(const SetupRecord& record, PurgeTypeChoice& type, PurgeOptions& boxes) {
    ApplySetupChoices(record, type, boxes);
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

void ListSelection(const Selection& selection, const PurgeTypeChoice& type, FormSet& windows,
                   const std::string& productName) {
    SelectionRunSteps noWindow;
    ListSelection(selection, type, PurgeOptions{}, windows, productName, noWindow);
}

void PurgeSelection(Selection& selection, const PurgeTypeChoice& type, PurgeOptions& boxes,
                    FormSet& windows) {
    SelectionRunSteps noWindow;
    PurgeSelection(selection, type, boxes, windows, noWindow);
}
