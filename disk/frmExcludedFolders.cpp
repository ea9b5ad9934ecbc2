#include "disk/frmExcludedFolders.h"

#include <algorithm>
#include <stdexcept>

#include "disk/FolderOnDrive.h"
#include "platform/FileSystem.h"
#include "purge/UnicodeText.h"
#include "support/Folder.h"
#include "ui/Ui.h"

using ui::ControlKind;

namespace {

const char* const kCrLf = "\r\n";
const char* const kAddTitle = "Add folder";

// Lines that text takes when wrapped at blanks to the width, in the
// desktop's font.
int WrappedLines(ui::Ui& ui, const std::string& text, int width) {
    int lines = 1;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && !word.empty() && ui.TextWidth(longer) > width) {
            ++lines;
            line = word;
        } else {
            line = longer;
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace

frmExcludedFolders::frmExcludedFolders()
    : Form("frmExcludedFolders"),
      lblIntro(Add(ControlKind::Label, "lblIntro", "", 240, 120, 6600, 900)),
      txbExcludedFolders(
          Add(ControlKind::TextBox, "txbExcludedFolders", "", 240, 1100, 6600, 2400)),
      cmdAddFolder(Add(ControlKind::Button, "cmdAddFolder", "Add folder", 240, 3700, 1800, 400)),
      cmdRemoveLastFolder(Add(ControlKind::Button, "cmdRemoveLastFolder", "Remove last folder",
                              2200, 3700, 2200, 400)),
      chkKeepTopFiles(Add(ControlKind::CheckBox, "chkKeepTopFiles",
                          "Do not purge top-level files on Drive ", 240, 4250, 6000, 300)),
      cmdClose(Add(ControlKind::Button, "cmdClose", "Continue", 5000, 3700, 1800, 400)) {
    SetCaption("Excluded folders");
    Resize(7200, 5300);
    txbExcludedFolders.SetMultiline(true);
    txbExcludedFolders.SetLocked(true);
    cmdRemoveLastFolder.SetVisible(false);
    cmdAddFolder.Click = [this] { cmdAddFolder_Click(); };
    cmdRemoveLastFolder.Click = [this] { cmdRemoveLastFolder_Click(); };
    // The check box toggles itself; the focus goes back to Continue.
    chkKeepTopFiles.Click = [this] { cmdClose.SetFocus(); };
    cmdClose.Click = [this] { Hide(); };
}

std::string frmExcludedFolders::IthExcludedFolder(std::int16_t intI) const {
    if (intI < 0 || intI > kMaxExcludedFolders) {
        throw std::out_of_range("excluded folder position " + std::to_string(intI));
    }
    return intI <= intNumExcludedFolders ? strExcludedFolder_[intI] : "";
}

std::vector<platform::FileIdentity> frmExcludedFolders::ExcludedIdentities() const {
    return {identities_.begin() + 1, identities_.begin() + 1 + intNumExcludedFolders};
}

void frmExcludedFolders::PrepareOpening() {
    if (strIntro_.empty()) {
        strIntro_ =
            "In a disk wipe you can exclude selected folders.  Files in these folders (and in all "
            "subfolders of these folders) will not be purged.";
        if (!strDriveLetter.empty() && strDriveLetter >= "C") {
            strIntro_ +=
                "  You might wish to exclude the folders containing the Windows operating system "
                "files and folders containing the installed program files.";
        }
    }
    for (auto& folder : strExcludedFolder_) folder.clear();
    identities_.fill({});
    intNumExcludedFolders = 0;
    intRefusals = 0;
    txbExcludedFolders.SetCaption("");
    chkKeepTopFiles.SetCaption("Do not purge top-level files on Drive " + strDriveLetter);
    ShowState();
}

void frmExcludedFolders::ShowState() {
    const bool any = intNumExcludedFolders > 0;
    cmdRemoveLastFolder.SetVisible(any);
    lblIntro.SetCaption(strIntro_ + (any ? "  Currently the folders excluded are:"
                                         : "  Currently there are no folders excluded."));
    LayOut();
    cmdClose.SetFocus();
}

void frmExcludedFolders::LayOut() {
    ui::Ui& ui = ui::TheUi();
    constexpr int kLeft = 240, kTop = 120, kWidth = 6600, kListHeight = 2400;
    const int lines = WrappedLines(ui, lblIntro.Caption(), kWidth);
    const int introHeight = std::max(900, lines * ui.LineHeight() + 120);
    lblIntro.Move(kLeft, kTop, kWidth, introHeight);
    const int listTop = kTop + introHeight + 80;
    txbExcludedFolders.Move(kLeft, listTop, kWidth, kListHeight);
    const int buttonsTop = listTop + kListHeight + 200;
    const int buttonHeight = std::max(400, ui.LineHeight() + 150);
    cmdAddFolder.Move(cmdAddFolder.Left(), buttonsTop, cmdAddFolder.Width(), buttonHeight);
    cmdRemoveLastFolder.Move(cmdRemoveLastFolder.Left(), buttonsTop, cmdRemoveLastFolder.Width(),
                             buttonHeight);
    cmdClose.Move(cmdClose.Left(), buttonsTop, cmdClose.Width(), buttonHeight);
    const int boxTop = buttonsTop + buttonHeight + 150;
    const int boxHeight = std::max(300, ui.LineHeight() + 60);
    chkKeepTopFiles.Move(kLeft, boxTop, chkKeepTopFiles.Width(), boxHeight);
    Resize(Width(), std::max(5300, boxTop + boxHeight + 750));
}

std::string frmExcludedFolders::WhyNotAdded(const std::string& f,
                                            platform::FileIdentity& folder) const {
    if (UpperCase(f.substr(0, 1)) != strDriveLetter) {
        return f + kCrLf + "is not on Drive " + strDriveLetter + ".";
    }
    std::string why;
    std::shared_ptr<platform::FolderHandle> root = driveFolder;
    if (!root) root = platform::Files().OpenFolder(strDriveLetter + ":\\", &why);
    auto found = root ? FindFolderOnDrive(*root, f, &why) : std::nullopt;
    if (!found) {
        // A folder that cannot be told apart from the others cannot be kept.
        return f + kCrLf + "cannot be opened on Drive " + strDriveLetter + " (" + why + ").";
    }
    if (found->identity.SameObjectAs(root->Identity())) {
        return "If " + f + " is excluded" + kCrLf + "then there is nothing to do.";
    }
    for (int i = 1; i <= intNumExcludedFolders; ++i) {
        const platform::FileIdentity& e = identities_[i];
        if (found->identity.SameObjectAs(e)) return f + kCrLf + "is already in the list.";
        for (const auto& above : found->above) {
            if (above.SameObjectAs(e)) {
                return f + kCrLf + "is a subfolder of " + kCrLf + strExcludedFolder_[i] + kCrLf +
                       "so is already excluded.";
            }
        }
    }
    folder = found->identity;
    return "";
}

void frmExcludedFolders::cmdAddFolder_Click() {
    if (intNumExcludedFolders >= kMaxExcludedFolders) {
        ui::TheUi().MsgBox(
            "The maximum number of excluded folders is " + std::to_string(kMaxExcludedFolders),
            ui::Buttons::OK, ui::Icon::None, kAddTitle);
        ++intRefusals;
        return;
    }
    const std::string f =
        BrowseForFolder("Specify folder on Drive " + strDriveLetter + " to exclude.",
                        strDriveLetter + ":\\");
    if (!f.empty()) {
        platform::FileIdentity folder;
        const std::string why = WhyNotAdded(f, folder);
        if (!why.empty()) {
            ++intRefusals;
            ui::TheUi().MsgBox(why, ui::Buttons::OK, ui::Icon::Exclamation, kAddTitle);
            return;
        }
        strExcludedFolder_[++intNumExcludedFolders] = f;
        identities_[intNumExcludedFolders] = folder;
        txbExcludedFolders.SetCaption(txbExcludedFolders.Caption() + f + kCrLf);
    }
    ShowState();
}

void frmExcludedFolders::cmdRemoveLastFolder_Click() {
    if (intNumExcludedFolders == 0) return;
    std::string& last = strExcludedFolder_[intNumExcludedFolders];
    std::string text = txbExcludedFolders.Caption();
    const std::string line = last + kCrLf;
    if (text.size() >= line.size() &&
        text.compare(text.size() - line.size(), line.size(), line) == 0)
        text.erase(text.size() - line.size());
    txbExcludedFolders.SetCaption(text);
    last.clear();
    identities_[intNumExcludedFolders] = {};
    --intNumExcludedFolders;
    ShowState();
}
