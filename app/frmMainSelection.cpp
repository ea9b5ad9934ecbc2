// File selection in the main window: one file, or a folder with a file
// specification and the subfolder setting; per-file confirmation; and the
// labels that show the selection.
#include <cmath>
#include <string>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "app/frmTypeOfPurge.h"
#include "disk/DiskProc.h"
#include "platform/FileSystem.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "support/Folder.h"
#include "ui/Ui.h"

namespace {
const char* const kNoSubfolderSetting = "(Do not operate on files in lower subfolders.)";
const char* const kSubfolderSetting = "(Operate on all specified files in lower subfolders.)";
const char* const kNoSubfolders = "(The folder has no subfolders.)";
constexpr int kDarkRed = 0x800000;
constexpr int kWhite = 0xFFFFFF;
}  // namespace

void frmMain::cmdSingleFile_MouseUp() {
    ui::FileDialogOptions options;
    options.title = "Specify file to be purged.";
    options.filter = "All files (*.*) | *.*";
    options.initialFolder = strFolderPath[0];
    std::optional<std::string> chosen;
    try {
        chosen = ui::TheUi().OpenFileDialog(options);
    } catch (const std::exception&) {
        chosen.reset();  // a failed dialog is no choice
    }
    if (!chosen || chosen->empty()) return;

    // The names keep their case: the file system may tell "Secret.txt" from
    // "secret.txt", and the selection must reach the file the user chose.
    strFolderPath[0] = FolderOfPath(*chosen);
    strFileSpec[0] = FileNameOfPath(*chosen, true);
    blnSubdirectories = false;
    lblSubdirectories.SetCaption("No");
    RefreshSelection();

    char letter = strFolderPath[0].empty() ? 0 : strFolderPath[0][0];
    int drive = letter - 'A';
    if (drive < 0 || drive > 25 || sngPurgeSpeed[drive] == 0) {
        lblEstimatedTime.SetCaption("");
        return;
    }
    lblPurgeSpeed.SetCaption(FormatNumber(sngPurgeSpeed[drive], 3) +
                             " MB/sec. (1 overwrite) for Drive " + std::string(1, letter));
    double megabytes = double(platform::Files().FileLength(*chosen).value_or(0)) / 1024 / 1024;
    auto seconds = static_cast<std::int32_t>(
        std::lround(megabytes / sngPurgeSpeed[drive] * Forms().TypeOfPurge().GetNumOverwrites()));
    lblEstimatedTime.SetCaption(seconds < 10 ? "Less than 10 seconds."
                                             : FormatSeconds(seconds, true, false));
}

void frmMain::cmdSpecifyDirectory_MouseUp(int slot) {
    std::string folder = BrowseForFolder("Specify folder", strFolderPath[slot]);
    if (folder.empty()) return;
    if (folder.back() != '\\') folder += '\\';
    strFolderPath[slot] = folder;
    ShowSelection(slot);
    lblSubdirectories.SetCaption("No");
    lblSubdirectories2.SetCaption(NumSubfolders(folder) != 0 ? kNoSubfolderSetting : kNoSubfolders);
    blnSubdirectories = false;
    lblSetupFilename.SetCaption("");
}

void frmMain::cmdSpecifyFiles_MouseUp(int slot) {
    if (strFolderPath[slot].empty()) {
        ui::TheUi().MsgBox("The folder has not been specified.", ui::Buttons::OK,
                           ui::Icon::Exclamation, "Folder unspecified");
        return;
    }
    if (slot == 0 && !CheckFolderContents("*.*")) return;
    intNumFiles = NumMatchingFiles(strFolderPath[slot], "*.*");

    frmSpecifyFiles& dialog = Forms().SpecifyFiles();
    dialog.strOperation = "purge";
    dialog.SetColors(kDarkRed, kWhite);
    dialog.blnBold = false;
    dialog.intNumFiles = intNumFiles;
    dialog.strFolder = strFolderPath[slot];
    dialog.strCurrentFileSpec = strFileSpec[slot];
    dialog.MoveTo(Left() + fraMenu.Width(), Top() + cmdSpecifyFiles(slot).Top());
    dialog.ShowModal();
    if (!dialog.blnAccept) return;

    strFileSpec[slot] = dialog.ChosenFileSpec();
    ShowSelection(slot);
    lblSetupFilename.SetCaption("");
    lblEstimatedTime.SetCaption("");
    CheckFolderContents(strFileSpec[slot]);
}

void frmMain::cmdSubdirectories_MouseUp() {
    lblEstimatedTime.SetCaption("");
    const std::string& folder = strFolderPath[0];
    if (folder.empty()) {
        strFileSpec[0].clear();
        ShowSelection(0);
        return;
    }
    std::int32_t subfolders = NumSubfolders(folder);
    if (subfolders == -1) {
        if (DriveIsReady(folder.substr(0, 1) + ":")) {
            ui::TheUi().MsgBox("Error when attempting to access " + folder + ".", ui::Buttons::OK,
                               ui::Icon::Exclamation, "Error");
        }
        strFolderPath[0].clear();
        strFileSpec[0].clear();
        ShowSelection(0);
        return;
    }
    if (subfolders == 0) {
        blnSubdirectories = false;
        lblSubdirectories.SetCaption("No");
        lblSubdirectories2.SetCaption(kNoSubfolders);
        return;
    }
    blnSubdirectories = !blnSubdirectories;
    ShowSubfolderSetting();
    lblSetupFilename.SetCaption("");
}

void frmMain::ShowSubfolderSetting() {
    if (strFolderPath[0].empty()) {
        lblSubdirectories.SetCaption("");
        lblSubdirectories2.SetCaption("");
    } else if (blnSubdirectories) {
        lblSubdirectories.SetCaption("Yes");
        lblSubdirectories2.SetCaption(kSubfolderSetting);
    } else {
        lblSubdirectories.SetCaption("No");
        lblSubdirectories2.SetCaption(kNoSubfolderSetting);
    }
}

void frmMain::cmdConfirmFiles_MouseUp() {
    blnConfirmFiles = !blnConfirmFiles;
    ShowConfirmFilesSetting();
    lblSetupFilename.SetCaption("");
}

void frmMain::ShowConfirmFilesSetting() {
    lblConfirmFiles.SetCaption(blnConfirmFiles ? "Yes" : "No");
    lblConfirmFiles2.SetCaption(blnConfirmFiles
                                    ? "(Confirm purge operation for each file.)"
                                    : "(Do not confirm purge operation for each file.)");
}

void frmMain::ToggleSubfoldersAndConfirmation() {
    cmdSubdirectories_MouseUp();
    cmdConfirmFiles_MouseUp();
}

bool frmMain::CheckFolderContents(const std::string& fileSpec) {
    std::int32_t files = NumMatchingFiles(strFolderPath[0], fileSpec);
    std::int32_t subfolders = NumSubfolders(strFolderPath[0]);
    if (files == -1 || subfolders == -1) {
        ui::TheUi().MsgBox("Cannot access the folder.", ui::Buttons::OK, ui::Icon::Critical,
                           "Error");
        return false;
    }
    if (files == 0 && subfolders == 0) {
        ui::TheUi().MsgBox(fileSpec == "*.*"
                               ? "The folder contains no files and no subfolders."
                               : "The folder contains no matching files and no subfolders.",
                           ui::Buttons::OK, ui::Icon::Exclamation, "Empty folder");
        return false;
    }
    return true;
}

void frmMain::RefreshSelection() { ShowSelection(0); }

void frmMain::ShowSelection(int slot) {
    lblFiles2(slot).SetCaption("");
    const std::string& folder = strFolderPath[slot];
    const std::string& spec = strFileSpec[slot];
    if (folder.empty()) {
        lblDirectory(slot).SetCaption(strNotSpecified);
        lblEstimatedTime.SetCaption("");
    } else {
        lblDirectory(slot).SetCaption(ShortenPath(VisibleText(folder), 70));
    }
    if (spec.empty()) {
        lblFiles(slot).SetCaption(strNotSpecified);
        lblEstimatedTime.SetCaption("");
    } else {
        lblFiles(slot).SetCaption(VisibleText(spec));
    }

    // Lengths count characters, as the user sees them, not UTF-8 bytes.
    const auto characters = static_cast<int>(DecodeUtf8(spec).size());
    std::string summary;
    if (HasWildcards(spec) && characters <= 20) {
        if (spec == "*.*") {
            summary = "(All files.)";
        } else if (spec.rfind("*.", 0) == 0) {
            summary = "(All files with extension \"" + spec.substr(2) + "\".)";
        } else {
            summary = "(All files of the form \"" + spec + "\".)";
        }
    }
    ui::Control& label = lblFiles2(slot);
    label.Move(lblFiles(slot).Left() + characters * intCharWidth + 300, label.Top());
    label.SetCaption(summary);
    ShowSingleFileHint();
}

void frmMain::ShowSingleFileHint() {
    lblSingleFile.SetCaption(lblFiles(0).Caption() == strNotSpecified
                                 ? "To purge multiple files specify folder and files."
                                 : "");
}
