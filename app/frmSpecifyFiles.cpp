#include "app/frmSpecifyFiles.h"

#include <algorithm>
#include <cctype>

#include "platform/FileSystem.h"
#include "ui/Ui.h"

using ui::ControlKind;

namespace {

std::string Trimmed(const std::string& text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "purge" -> "Purge".
std::string Capitalised(std::string word) {
    for (auto& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!word.empty())
        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    return word;
}

}  // namespace

void frmSpecifyFiles::CreateControls() {
    constexpr int kOptionWidth = 6300, kBoxLeft = 6660, kBoxWidth = 2100;
    Add(ControlKind::TextBox, "txbExtension", "", kBoxLeft, 1060, kBoxWidth, 315);
    Add(ControlKind::OptionButton, "optExtension", "", 240, 1080, kOptionWidth, 300);
    Add(ControlKind::OptionButton, "optAllFiles", "", 240, 600, kOptionWidth, 300);
    Add(ControlKind::OptionButton, "optMultipleFiles", "", 240, 1560, kOptionWidth, 300);
    Add(ControlKind::OptionButton, "optSingleFile", "", 240, 120, kOptionWidth, 300);
    Add(ControlKind::Button, "cmdAccept", "Accept", 5340, 4560, 1500, 375);
    Add(ControlKind::Button, "cmdCancel", "Cancel", 7020, 4560, 1500, 375);
    Add(ControlKind::TextBox, "txbFilespec", "", kBoxLeft, 1540, kBoxWidth, 315);
    Add(ControlKind::ListBox, "File", "", 600, 2040, 8160, 2280);
    SetCaption("Specify files");
    Resize(9000, 5220);
}

frmSpecifyFiles::frmSpecifyFiles()
    : Form("frmSpecifyFiles"),
      txbExtension((CreateControls(), (*this)("txbExtension"))),
      optExtension((*this)("optExtension")),
      optAllFiles((*this)("optAllFiles")),
      optMultipleFiles((*this)("optMultipleFiles")),
      optSingleFile((*this)("optSingleFile")),
      cmdAccept((*this)("cmdAccept")),
      cmdCancel((*this)("cmdCancel")),
      txbFilespec((*this)("txbFilespec")),
      File((*this)("File")) {
    optSingleFile.Click = [this] { cmdAccept.SetFocus(); };
    optAllFiles.Click = [this] { cmdAccept.SetFocus(); };
    optExtension.Click = [this] { txbExtension.SetFocus(); };
    optMultipleFiles.Click = [this] { txbFilespec.SetFocus(); };
    File.Click = [this] {
        optSingleFile.SetValue(1);
        cmdAccept.SetFocus();
    };
    // Typing into a text box chooses its option.
    txbExtension.Change = [this] { optExtension.SetValue(1); };
    txbFilespec.Change = [this] { optMultipleFiles.SetValue(1); };
    txbExtension.MouseDown = [this](ui::MouseButton) { optExtension.SetValue(1); };
    txbFilespec.MouseDown = [this](ui::MouseButton) { optMultipleFiles.SetValue(1); };
    cmdAccept.Click = [this] { cmdAccept_Click(); };
    // Enter in either text box accepts, as the button would.
    txbExtension.EnterKey = cmdAccept.Click;
    txbFilespec.EnterKey = cmdAccept.Click;
    cmdCancel.Click = [this] {
        blnAccept = false;
        Hide();
    };
    OnClose = cmdCancel.Click;
    OnActivate = [this] { Form_Activate(); };
}

void frmSpecifyFiles::Form_Activate() {
    txbExtension.SetCaption("");
    txbFilespec.SetCaption("");
    std::string verb = Capitalised(strOperation);
    ui::Control* options[] = {&optSingleFile, &optAllFiles, &optExtension, &optMultipleFiles};
    for (ui::Control* option : options) {
        option->SetColors(BackColor(), ForeColor());
        option->SetFontBold(blnBold);
    }
    optSingleFile.SetCaption(verb + " a single file:");
    optAllFiles.SetCaption(verb + " all files (*.*)");
    optExtension.SetCaption(verb + " all files with a particular extension, e.g., txt or doc:");
    optMultipleFiles.SetCaption(verb + " all files satisfying a file specification, e.g., a*.d*:");
    bool haveFiles = intNumFiles != 0;
    optSingleFile.SetEnabled(haveFiles);
    File.SetEnabled(haveFiles);
    if (haveFiles) {
        optSingleFile.SetValue(1);
        RefreshFileList();
    } else {
        // An empty list, never the files of the folder chosen before.
        File.ClearItems();
        optAllFiles.SetValue(1);
    }
    ShowCurrentFileSpec(haveFiles);
    cmdCancel.SetFocus();
}

// The dialog opens on what the main window shows, so that Accept alone
// keeps the selection rather than narrowing it to one file.
void frmSpecifyFiles::ShowCurrentFileSpec(bool haveFiles) {
    const std::string& spec = strCurrentFileSpec;
    if (spec.empty()) return;
    if (spec == "*.*") {
        optAllFiles.SetValue(1);
    } else if (spec.rfind("*.", 0) == 0 && spec.find_first_of("*?.", 2) == std::string::npos) {
        txbExtension.SetCaption(spec.substr(2));
        optExtension.SetValue(1);
    } else if (spec.find_first_of("*?") != std::string::npos) {
        txbFilespec.SetCaption(spec);
        optMultipleFiles.SetValue(1);
    } else if (haveFiles) {
        const auto& names = File.Items();
        const auto at = std::find(names.begin(), names.end(), spec);
        if (at != names.end()) File.SetValue(static_cast<int>(at - names.begin()));
    }
}

void frmSpecifyFiles::RefreshFileList() {
    File.ClearItems();
    std::vector<std::string> names;
    if (auto entries = platform::Files().ReadFolder(strFolder)) {
        for (const auto& entry : *entries) {
            if (entry.kind == platform::EntryKind::File) names.push_back(entry.name);
        }
    }
    std::sort(names.begin(), names.end());
    for (auto& name : names) File.AddItem(std::move(name));
}

std::string frmSpecifyFiles::ChosenFileSpec() const {
    if (optSingleFile.Value() != 0) {
        int i = File.Value();
        // A name chosen from the list is the file's own, blanks and all: " a.txt"
        // and "a.txt" are two files.
        return i >= 0 && i < static_cast<int>(File.Items().size()) ? File.Items()[i] : "";
    }
    if (optAllFiles.Value() != 0) return "*.*";
    if (optExtension.Value() != 0) {
        std::string extension = Trimmed(txbExtension.Caption());
        if (extension.rfind("*.", 0) == 0) {
            extension.erase(0, 2);
        } else if (extension.rfind(".", 0) == 0) {
            extension.erase(0, 1);
        }
        return extension.empty() ? "" : "*." + extension;
    }
    return Trimmed(txbFilespec.Caption());
}

void frmSpecifyFiles::cmdAccept_Click() {
    if (optExtension.Value() != 0) {
        std::string extension = ChosenFileSpec();
        if (extension.find('.', 2) != std::string::npos) {
            ui::TheUi().MsgBox("Extension must not contain \".\".", ui::Buttons::OK,
                               ui::Icon::Exclamation, "Error");
            return;
        }
    }
    if (optSingleFile.Value() != 0 && ChosenFileSpec().empty()) {
        ui::TheUi().MsgBox("No file has been chosen from the list.", ui::Buttons::OK,
                           ui::Icon::Exclamation, "File unspecified");
        return;
    }
    blnAccept = !ChosenFileSpec().empty();
    Hide();
}
