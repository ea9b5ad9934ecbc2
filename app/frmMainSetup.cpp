// Setup persistence in the main window: the setup and save panels, loading
// and saving setup files, and the snapshot behind Restore setup.
#include <algorithm>
#include <string>

#include "app/Forms.h"
#include "app/SetupFile.h"
#include "app/SetupFileOnDisk.h"
#include "app/WindowRun.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "purge/StrProc.h"
#include "purge/frmPurgeConfirmation.h"
#include "ui/Ui.h"

namespace {

const char* const kOperationFileFilter = "Operation files (*.kzs) | *.kzs";
const char* const kOperationFileExtension = "kzs";

// A name saved without an extension gets the operation files' own, or
// "Load setup", which lists only those, would never show it again.
std::string WithOperationFileExtension(const std::string& path) {
    const std::string name = FileNameOfPath(path, false);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + kOperationFileExtension;
}

// The purge confirmation's options, in the order the file stores them.
constexpr std::array<bool PurgeOptions::*, SetupRecord::kNumOptions> kStoredOptions = {
    &PurgeOptions::blnPurgeSlack,
    &PurgeOptions::blnDoNotDeletePurgedFiles,
    &PurgeOptions::blnOKToPurgeReadOnlyFiles,
    &PurgeOptions::blnOKToPurgeSensitiveFiles,
    &PurgeOptions::blnFolderNamesOnly,
    &PurgeOptions::blnDeleteEmptyFolders};

void Exclaim(const std::string& text, const std::string& title) {
    ui::TheUi().MsgBox(text, ui::Buttons::OK, ui::Icon::Exclamation, title);
}

// A file dialog's answer; a dialog that fails counts as no choice. It
// opens in `folder`, proposing `fileName`.
template <typename Dialog>
std::string ChosenFile(Dialog dialog, const char* title, const std::string& folder,
                       const std::string& fileName = "") {
    ui::FileDialogOptions options;
    options.title = title;
    options.filter = kOperationFileFilter;
    options.initialFolder = folder;
    options.fileName = fileName;
    options.defaultExtension = kOperationFileExtension;
    try {
        return dialog(options).value_or("");
    } catch (const std::exception&) {
        return "";
    }
}

}  // namespace

void frmMain::WireSetupPanels() {
    cmdLoadSetup.Click = [this] { cmdLoadSetup_Click(); };
    cmdSaveSetup.Click = [this] {
        fraSetup.SetVisible(false);
        // Its last button would cover the copyright line below: the panel
        // rises as far as it must to stand clear of it.
        const int lowest = lblCopyright.Top() - 60;
        const int top = std::min(cmdSetup.Top() - 210,
                                 lowest - cmdDontSaveSetup.Top() - cmdDontSaveSetup.Height());
        picSaveSetup.Move(BesideMenu(), top);
        picSaveSetup.SetVisible(true);
        cmdSaveSetupForNextRun.SetFocus();
    };
    cmdSaveSetupForNextRun.Click = [this] {
        if (!SaveSetupFile(strNextRunSetupPath)) Exclaim("Cannot save setup!", "Error");
        picSaveSetup.SetVisible(false);
        lblSetupFilename.SetVisible(true);
        fraMenu.SetEnabled(true);
        fraSetup.SetEnabled(true);
        cmdSetup.SetFocus();
    };
    cmdSaveSetupAsOperationFile.Click = [this] { cmdSaveSetupAsOperationFile_Click(); };
    cmdDontSaveSetup.Click = [this] {
        picSaveSetup.SetVisible(false);
        CloseSetupPanel();
    };
    cmdKeepSetup.Click = [this] { CloseSetupPanel(); };
    cmdClearSetup.Click = [this] {
        KeepSetupSnapshot();
        strFolderPath[0].clear();
        strFileSpec[0].clear();
        RefreshSelection();
        ShowSubfolderSetting();
        lblSetupFilename.SetCaption("");
        CloseSetupPanel();
    };
    cmdRestoreSetup.Click = [this] { cmdRestoreSetup_Click(); };
}

void frmMain::cmdSetup_MouseUp() {
    lblSetupFilename.SetVisible(false);
    fraMenu.SetEnabled(false);
    fraSetup.Move(BesideMenu(), cmdSetup.Top() - 540);
    fraSetup.SetVisible(true);
    fraSetup.SetEnabled(true);
    cmdSaveSetup.SetFocus();
}

int frmMain::BesideMenu() const {
    // 100 twips clear of the menu's buttons (which stand inside the menu's
    // frame, not at its edge), so the panel's title never touches them.
    return fraMenu.Left() + cmdSetup.Left() + cmdSetup.Width() + 100;
}

void frmMain::CloseSetupPanel() {
    fraSetup.SetVisible(false);
    lblSetupFilename.SetVisible(true);
    fraMenu.SetEnabled(true);
    cmdSetup.SetFocus();
}

void frmMain::cmdLoadSetup_Click() {
    fraSetup.SetVisible(false);
    std::string path = ChosenFile([](auto& o) { return ui::TheUi().OpenFileDialog(o); },
                                  "Specify operation file to be loaded", FolderInUse());
    if (!path.empty()) {
        if (!FileIsPresent(path)) {
            Exclaim("File " + path + " not found!", "Error when attempting to load setup.");
        } else if (LoadSetupFile(path)) {
            ToggleSubfoldersAndConfirmation();
            RefreshSelection();
            KeepSetupSnapshot();
            lblSetupFilename.SetCaption(path);
        } else {
            // The failed read left the defaults in force; the labels show them,
            // so that what is shown is what would run.
            RefreshSelection();
            ShowSubfolderSetting();
            ShowConfirmFilesSetting();
            Exclaim("Error when attempting to load setup from file " + path + "!", "Error");
        }
    }
    lblSetupFilename.SetVisible(true);
    fraMenu.SetEnabled(true);
    cmdSetup.SetFocus();
}

void frmMain::cmdSaveSetupAsOperationFile_Click() {
    picSaveSetup.SetVisible(false);
    std::string path = ChosenFile([](auto& o) { return ui::TheUi().SaveFileDialog(o); },
                                  "Specify operation file to be saved", FolderInUse(),
                                  FileNameOfPath(lblSetupFilename.Caption(), false));
    if (!path.empty()) path = WithOperationFileExtension(path);
    if (!path.empty() && FileIsPresent(path) &&
        ui::TheUi().MsgBox("Overwrite existing file " + path + "?", ui::Buttons::YesNoCancel,
                           ui::Icon::None, "File exists") != ui::Answer::Yes) {
        path.clear();
    }
    if (!path.empty()) {
        if (SaveSetupFile(path)) {
            lblSetupFilename.SetCaption(path);
        } else {
            Exclaim("Cannot save setup in operation file " + path + "!", "Error");
            lblSetupFilename.SetCaption("");
        }
    }
    lblSetupFilename.SetVisible(true);
    fraMenu.SetEnabled(true);
    fraSetup.SetEnabled(true);
}

std::string frmMain::FolderInUse() const {
    const std::string folder = FolderOfPath(lblSetupFilename.Caption());
    return folder.empty() ? strFolderPath[0] : folder;
}

void frmMain::cmdRestoreSetup_Click() {
    strFolderPath[0] = snapshotFolderPath_;
    strFileSpec[0] = snapshotFileSpec_;
    RefreshSelection();
    ShowSubfolderSetting();
    CloseSetupPanel();
}

bool frmMain::LoadSetupFile(const std::string& path) {
    SetupRead read = ReadSetupFile(path);
    ApplySetup(read.record);
    return read.complete;
}

void ApplySetupChoices(const SetupRecord& r, PurgeTypeChoice& type, PurgeOptions& boxes) {
    for (int i = 0; i < SetupRecord::kNumOptions; ++i) {
        if (r.options[i]) boxes.*kStoredOptions[i] = *r.options[i] != 0;
    }
    const PurgeTypeChoice stored{r.purgeType, r.passes};
    if (IsOffered(stored)) type = stored;
}

void frmMain::ApplySetup(const SetupRecord& r) {
    frmTypeOfPurge& dialog = Forms().TypeOfPurge();
    PurgeTypeChoice type = dialog.Choice();
    frmPurgeConfirmation& confirmation = Forms().PurgeConfirmation();
    PurgeOptions boxes = confirmation.Boxes();
    ApplySetupChoices(r, type, boxes);
    dialog.SelectTypeAndPasses(type);
    confirmation.SetBoxes(boxes);
    // The flags are stored as they were and read as their opposites; the
    // toggle that follows every load turns them back.
    blnSubdirectories = r.subfolderFlag == 0;
    blnConfirmFiles = r.confirmationFlag == 0;
    strFolderPath[0] = r.folder;
    strFileSpec[0] = r.fileSpec;
    ShowTypeOfPurge();
}

bool frmMain::LoadNextRunSetup() { return LoadSetupFile(strNextRunSetupPath); }

SetupRecord SetupOfSelection(const Selection& selection, const std::string& version,
                             const PurgeTypeChoice& type, const PurgeOptions& boxes) {
    SetupRecord r;
    r.strVersion = version;
    r.subfolderFlag = selection.blnSubdirectories ? 1 : 0;
    r.confirmationFlag = selection.blnConfirmFiles ? 1 : 0;
    r.folder = selection.strFolderPath;
    r.fileSpec = selection.strFileSpec;
    r.purgeType = type.purgeType;
    r.passes = type.passes;
    for (int i = 0; i < SetupRecord::kNumOptions; ++i)
        r.options[i] = boxes.*kStoredOptions[i] ? 1 : 0;
    return r;
}

bool frmMain::SaveSetupFile(const std::string& path) {
    return WriteSetupFile(
        path, SetupOfSelection(MainSelection(*this), strVersion, Forms().TypeOfPurge().Choice(),
                               Forms().PurgeConfirmation().Boxes()));
}

void frmMain::KeepSetupSnapshot() {
    snapshotFolderPath_ = strFolderPath[0];
    snapshotFileSpec_ = strFileSpec[0];
    snapshotSubdirectories_ = blnSubdirectories;
    snapshotConfirmFiles_ = blnConfirmFiles;
}
