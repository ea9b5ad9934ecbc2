#include "purge/frmPurgeConfirmation.h"

#include <algorithm>

#include "disk/DiskProc.h"
#include "disk/SystemDrive.h"
#include "platform/DrivePaths.h"
#include "purge/NumberFormat.h"
#include "ui/Ui.h"

using ui::ControlKind;

namespace {

const char* const kCopyOnWriteNote =
    "\r\n\r\nOn this drive's file system changed data is written to new blocks, so "
    "purging a file does not reach its earlier copies. Wiping the disk fills its free space, "
    "which reaches them.";

const char* const kClusterSizeNames[] = {"512 bytes", "1 KB",  "2 KB",  "4 KB",
                                         "8 KB",      "16 KB", "32 KB", "64 KB"};
constexpr int kFourKB = 3;
int instancesMade = 0;

// Index of a drive letter in the per-drive tables; -1 for no letter.
int DriveIndex(const std::string& letter) {
    char d = platform::DriveLetterOf(letter);
    return d == 0 ? -1 : d - 'A';
}

}  // namespace

int frmPurgeConfirmation::InstancesMade() { return instancesMade; }

const std::int32_t frmPurgeConfirmation::kClusterSizes[8] = {512,  1024,  2048,  4096,
                                                             8192, 16384, 32768, 65536};

frmPurgeConfirmation::frmPurgeConfirmation()
    : Form("frmPurgeConfirmation"),
      chkOKToPurgeSensitiveFiles(Add(ControlKind::CheckBox, "chkOKToPurgeSensitiveFiles",
                                     "OK to purge sensitive files (exe, dll, doc, etc.)", 240, 2400,
                                     6000, 300)),
      fraClusterSize(Add(ControlKind::Frame, "fraClusterSize", "", 3600, 1100, 3200, 900)),
      cboClusterSize(
          Add(ControlKind::ComboBox, "cboClusterSize", "", 1500, 200, 1400, 315, &fraClusterSize)),
      lblFileSystem(
          Add(ControlKind::Label, "lblFileSystem", "", 120, 550, 3000, 300, &fraClusterSize)),
      lblClusterSize(Add(ControlKind::Label, "lblClusterSize", "Cluster size:", 120, 240, 1300, 255,
                         &fraClusterSize)),
      chkPurgeSlack(
          Add(ControlKind::CheckBox, "chkPurgeSlack", "Purge slack area", 240, 1200, 3000, 300)),
      chkDeleteEmptyFolders(Add(ControlKind::CheckBox, "chkDeleteEmptyFolders",
                                "Delete any folder in which all files have been deleted", 240, 2800,
                                6000, 300)),
      chkOKToPurgeReadOnlyFiles(Add(ControlKind::CheckBox, "chkOKToPurgeReadOnlyFiles",
                                    "OK to purge read-only files", 240, 2000, 6000, 300)),
      chkFolderNamesOnly(Add(ControlKind::CheckBox, "chkFolderNamesOnly",
                             "Include only folder names in report", 240, 3200, 6000, 300)),
      chkDoNotDeletePurgedFiles(Add(ControlKind::CheckBox, "chkDoNotDeletePurgedFiles",
                                    "Do not delete purged files (so the result can be inspected)",
                                    240, 1600, 6000, 300)),
      cmdCancel(
          Add(ControlKind::Button, "cmdCancel", "No, cancel this purge", 3700, 3700, 2800, 400)),
      cmdDoPurge(
          Add(ControlKind::Button, "cmdDoPurge", "Yes, purge these files", 500, 3700, 2800, 400)),
      lblMessage(Add(ControlKind::Label, "lblMessage", "", 240, 120, 6500, 900)) {
    ++instancesMade;
    SetCaption("Purge confirmation");
    Resize(7000, 4700);
    for (const char* name : kClusterSizeNames) cboClusterSize.AddItem(name);
    cboClusterSize.SetValue(kFourKB);
    lblFileSystem.SetVisible(false);

    for (ui::Control* box :
         {&chkOKToPurgeSensitiveFiles, &chkPurgeSlack, &chkDeleteEmptyFolders,
          &chkOKToPurgeReadOnlyFiles, &chkFolderNamesOnly, &chkDoNotDeletePurgedFiles}) {
        box->Click = [this, box] { CheckBoxClicked(*box); };
    }
    cboClusterSize.Click = [this] {
        if (Visible()) cmdCancel.SetFocus();
    };
    lblClusterSize.Click = [this] {
        lblFileSystem.SetVisible(!lblFileSystem.Visible());
        if (lblFileSystem.Visible()) LayOut();  // room for the drive's own words
    };
    lblFileSystem.Click = [this] { lblFileSystem.SetVisible(false); };
    cmdDoPurge.Click = [this] { cmdDoPurge_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    OnClose = [this] { cmdCancel_Click(); };
}

PurgeOptions frmPurgeConfirmation::Boxes() const {
    PurgeOptions boxes;
    boxes.blnPurgeSlack = chkPurgeSlack.Value() != 0;
    boxes.blnDoNotDeletePurgedFiles = chkDoNotDeletePurgedFiles.Value() != 0;
    boxes.blnOKToPurgeReadOnlyFiles = chkOKToPurgeReadOnlyFiles.Value() != 0;
    boxes.blnOKToPurgeSensitiveFiles = chkOKToPurgeSensitiveFiles.Value() != 0;
    boxes.blnFolderNamesOnly = chkFolderNamesOnly.Value() != 0;
    boxes.blnDeleteEmptyFolders = chkDeleteEmptyFolders.Value() != 0;
    return boxes;
}

void frmPurgeConfirmation::SetBoxes(const PurgeOptions& boxes) {
    chkPurgeSlack.SetValue(boxes.blnPurgeSlack ? 1 : 0);
    chkDoNotDeletePurgedFiles.SetValue(boxes.blnDoNotDeletePurgedFiles ? 1 : 0);
    chkOKToPurgeReadOnlyFiles.SetValue(boxes.blnOKToPurgeReadOnlyFiles ? 1 : 0);
    chkOKToPurgeSensitiveFiles.SetValue(boxes.blnOKToPurgeSensitiveFiles ? 1 : 0);
    chkFolderNamesOnly.SetValue(boxes.blnFolderNamesOnly ? 1 : 0);
    chkDeleteEmptyFolders.SetValue(boxes.blnDeleteEmptyFolders ? 1 : 0);
}

PurgeOptions frmPurgeConfirmation::Confirmed() const { return *this; }

std::int32_t frmPurgeConfirmation::GetClusterSize(const std::string& driveLetter) {
    const int d = DriveIndex(driveLetter);
    if (d < 0) return EstimateClusterSize(driveLetter);
    std::int32_t c = lngClusterSizeByDrive != nullptr ? (*lngClusterSizeByDrive)[d] : 0;
    if (c < 512) {
        c = EstimateClusterSize(driveLetter);
        lblFileSystem.SetCaption(strDiskFileSystem + "\r\n" + FormatNumber(dblDiskTotalBytes, 0));
        if (lngClusterSizeByDrive != nullptr) (*lngClusterSizeByDrive)[d] = c;
    }
    return c;
}

void frmPurgeConfirmation::Form_Activate() {
    fraClusterSize.SetVisible(false);
    blnConfirm = false;
    // On a file system that writes changed data to new blocks a purge
    // cannot reach the file's earlier copies: say so before it runs.
    lblMessage.SetCaption(OverwritesMissOldCopies(strDriveLetter.substr(0, 1) + ":")
                              ? strPurgeConfirmationMessage + kCopyOnWriteNote
                              : strPurgeConfirmationMessage);
    cmdDoPurge.SetCaption(!blnSubdirectories && intNumFiles <= 1 ? "Yes, purge this file"
                                                                 : "Yes, purge these files");
    if (!blnSubdirectories) {
        chkDeleteEmptyFolders.SetValue(0);
        chkFolderNamesOnly.SetValue(0);
    }
    chkDeleteEmptyFolders.SetEnabled(blnSubdirectories);
    chkFolderNamesOnly.SetEnabled(blnSubdirectories);
    const std::int32_t clusterSize = GetClusterSize(strDriveLetter);
    for (int i = 0; i < 8; ++i) {
        if (kClusterSizes[i] == clusterSize) cboClusterSize.SetValue(i);
    }
    lblFileSystem.SetVisible(false);
    fraClusterSize.SetVisible(chkPurgeSlack.Value() != 0);
    LayOut();
    cmdCancel.SetFocus();
}

void frmPurgeConfirmation::LayOut() {
    // Measured in the desktop's font, so that no caption is cut off or
    // covered at whatever size the desktop draws text.
    ui::Ui& ui = ui::TheUi();
    constexpr int kMargin = 240, kGap = 240, kIndicator = 420, kMinWidth = 7000;
    const int line = ui.LineHeight();
    const int row = std::max(300, line + 60);
    const int rowStep = row + 100;
    auto lineWidths = [&ui](const std::string& text) {
        int widest = 0;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            widest = std::max(widest, ui.TextWidth(text.substr(start, end - start)));
        }
        return std::max(widest, ui.TextWidth(text.substr(start)));
    };
    auto boxWidth = [&](const ui::Control& box) {
        return ui.TextWidth(box.Caption()) + kIndicator;
    };

    // The cluster-size frame: its caption and list on one line, the file
    // system's two lines below.
    const int labelWidth = ui.TextWidth(lblClusterSize.Caption()) + 120;
    int listWidth = 1400;
    for (const auto& item : cboClusterSize.Items()) {
        listWidth = std::max(listWidth, ui.TextWidth(item) + 600);
    }
    lblClusterSize.Move(120, 300, labelWidth, row);
    cboClusterSize.Move(240 + labelWidth, 300 - 30, listWidth, row + 60);
    const int fileSystemWidth = std::max(lineWidths(lblFileSystem.Caption()) + 120, 1800);
    lblFileSystem.Move(120, 300 + rowStep, fileSystemWidth, 2 * line + 60);
    const int frameWidth = std::max(360 + labelWidth + listWidth, fileSystemWidth + 240);
    const int frameHeight = 300 + rowStep + 2 * line + 180;

    // Widest of everything: the dialog's width.
    ui::Control* column[] = {&chkOKToPurgeSensitiveFiles, &chkOKToPurgeReadOnlyFiles,
                             &chkDoNotDeletePurgedFiles,  &chkDeleteEmptyFolders,
                             &chkFolderNamesOnly,         &chkPurgeSlack};
    int width = kMinWidth;
    for (ui::Control* box : column) width = std::max(width, boxWidth(*box) + 2 * kMargin);
    const int frameLeft = kMargin + boxWidth(chkPurgeSlack) + kGap;
    width = std::max(width, frameLeft + frameWidth + kMargin);
    const int buttonWidth = std::max(
        {2800, ui.TextWidth(cmdDoPurge.Caption()) + 600, ui.TextWidth(cmdCancel.Caption()) + 600});
    width = std::max(width, 2 * buttonWidth + kGap + 2 * kMargin);

    // The question, wrapped to the dialog's width.
    const int textWidth = width - 2 * kMargin;
    int lines = 0;
    std::size_t start = 0;
    const std::string& message = lblMessage.Caption();
    for (;;) {
        std::size_t end = message.find("\r\n", start);
        const int w =
            ui.TextWidth(message.substr(start, end == std::string::npos ? end : end - start));
        lines += std::max(1, (w + textWidth - 1) / textWidth);
        if (end == std::string::npos) break;
        start = end + 2;
    }
    lblMessage.Move(kMargin, 120, textWidth, std::max(900, lines * line + 120));

    int top = lblMessage.Top() + lblMessage.Height() + 120;
    for (ui::Control* box : column) {
        box->Move(kMargin, top, boxWidth(*box), row);
        if (box != &chkPurgeSlack) top += rowStep;
    }
    fraClusterSize.Move(frameLeft, top - 60, frameWidth, frameHeight);
    top = fraClusterSize.Top() + frameHeight + kGap;
    const int buttonsLeft = (width - (2 * buttonWidth + kGap)) / 2;
    cmdDoPurge.Move(buttonsLeft, top, buttonWidth, row + 100);
    cmdCancel.Move(buttonsLeft + buttonWidth + kGap, top, buttonWidth, row + 100);
    Resize(width, top + row + 100 + kMargin);
}

void frmPurgeConfirmation::CheckBoxClicked(ui::Control& box) {
    if (!Visible()) return;
    if (&box == &chkPurgeSlack) fraClusterSize.SetVisible(chkPurgeSlack.Value() != 0);
    cmdCancel.SetFocus();
}

void frmPurgeConfirmation::cmdDoPurge_Click() {
    blnConfirm = true;
    static_cast<PurgeOptions&>(*this) = Boxes();
    const int d = DriveIndex(strDriveLetter);
    const int selected = cboClusterSize.Value();
    if (d >= 0 && selected >= 0 && selected < 8 && lngClusterSizeByDrive != nullptr) {
        (*lngClusterSizeByDrive)[d] = kClusterSizes[selected];
    }
    lblFileSystem.SetCaption("");
    Hide();
}

void frmPurgeConfirmation::cmdCancel_Click() {
    blnConfirm = false;
    lblFileSystem.SetCaption("");
    Hide();
}
