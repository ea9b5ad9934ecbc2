#include "app/frmMain.h"

#include <string>

#include "app/Forms.h"
#include "app/frmTypeOfPurge.h"
#include "disk/FillLeftovers.h"
#include "platform/DrivePaths.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmPurgeWarning.h"
#include "purge/frmReport.h"
#include "support/Folder.h"
#include "support/ProgramText.h"
#include "support/weblink.h"
#include "ui/Ui.h"

namespace {
const char* const kCrLf = "\r\n";
constexpr int kMajorVersion = 8;
constexpr int kMinorVersion = 2;
constexpr char kBuildDigit = '7';
}  // namespace

const char* const frmMain::kHelpText =
    "The user manual for this software is provided as HTML files contained in \r\n"
    "the ZIP file kz_user_manual.zip in the kz%M program files folder.\r\n\r\n"
    "There is an entry in the Kestrane program menu for this ZIP file,\r\n"
    "which you can save to a location of your choice.\r\n\r\n"
    "Unzip the file into some folder on your computer.  Load the file kz.htm\r\n"
    "into a web browser to read the manual.";
const char* const frmMain::kBuildStamp = "20070708";
const char* const frmMain::kMakerAddress = "https://www.talvane-systems.example/";

namespace {
int instancesMade = 0;
}  // namespace

int frmMain::InstancesMade() { return instancesMade; }

frmMain::frmMain()
    : Form("frmMain"),
      Clock((CreateControls(), (*this)("Clock"))),
      fraSetup((*this)("fraSetup")),
      cmdKeepSetup((*this)("cmdKeepSetup")),
      cmdLoadSetup((*this)("cmdLoadSetup")),
      cmdSaveSetup((*this)("cmdSaveSetup")),
      cmdClearSetup((*this)("cmdClearSetup")),
      cmdRestoreSetup((*this)("cmdRestoreSetup")),
      fraMenu((*this)("fraMenu")),
      cmdPurgeSpeed((*this)("cmdPurgeSpeed")),
      cmdSingleFile((*this)("cmdSingleFile")),
      cmdWipeDisk((*this)("cmdWipeDisk")),
      cmdTypeOfPurge((*this)("cmdTypeOfPurge")),
      cmdConfirmFiles((*this)("cmdConfirmFiles")),
      cmdSetup((*this)("cmdSetup")),
      cmdQuit((*this)("cmdQuit")),
      cmdSubdirectories((*this)("cmdSubdirectories")),
      cmdReportScreen((*this)("cmdReportScreen")),
      cmdHelp((*this)("cmdHelp")),
      picSaveSetup((*this)("picSaveSetup")),
      cmdSaveSetupAsOperationFile((*this)("cmdSaveSetupAsOperationFile")),
      cmdSaveSetupForNextRun((*this)("cmdSaveSetupForNextRun")),
      cmdDontSaveSetup((*this)("cmdDontSaveSetup")),
      lblEstimatedTime((*this)("lblEstimatedTime")),
      lblSingleFile((*this)("lblSingleFile")),
      lblOnlineDocumentation((*this)("lblOnlineDocumentation")),
      lblTalvaneSystems((*this)("lblTalvaneSystems")),
      lblTypeOfPurge((*this)("lblTypeOfPurge")),
      lblConfirmFiles((*this)("lblConfirmFiles")),
      lblConfirmFiles2((*this)("lblConfirmFiles2")),
      lblPurgeSpeed((*this)("lblPurgeSpeed")),
      lblSetupFilename((*this)("lblSetupFilename")),
      lblCopyright((*this)("lblCopyright")),
      lblSubdirectories2((*this)("lblSubdirectories2")),
      lblSubdirectories((*this)("lblSubdirectories")) {
    ++instancesMade;
    WireMenuButton(cmdSingleFile, &frmMain::cmdSingleFile_MouseUp);
    WireMenuButton(cmdSubdirectories, &frmMain::cmdSubdirectories_MouseUp);
    WireMenuButton(cmdConfirmFiles, &frmMain::cmdConfirmFiles_MouseUp);
    WireMenuButton(cmdTypeOfPurge, &frmMain::cmdTypeOfPurge_MouseUp);
    WireMenuButton(cmdPurgeSpeed, &frmMain::cmdPurgeSpeed_MouseUp);
    WireMenuButton(cmdWipeDisk, &frmMain::cmdWipeDisk_MouseUp);
    WireMenuButton(cmdReportScreen, &frmMain::cmdReportScreen_MouseUp);
    WireMenuButton(cmdSetup, &frmMain::cmdSetup_MouseUp);
    WireMenuButton(cmdHelp, &frmMain::cmdHelp_MouseUp);
    WireMenuButton(cmdQuit, &frmMain::cmdQuit_MouseUp);
    for (int index : {2, 1}) {
        WireMenuButton(cmdProcessFiles(index), [this, index] { cmdProcessFiles_MouseUp(index); });
    }
    WireMenuButton(cmdSpecifyDirectory(0), [this] { cmdSpecifyDirectory_MouseUp(0); });
    WireMenuButton(cmdSpecifyFiles(0), [this] { cmdSpecifyFiles_MouseUp(0); });
    WireFocusFollowsMouse();
    WireSetupPanels();

    Clock.Timer = [this] { Clock_Timer(); };
    lblTalvaneSystems.Click = [] { LaunchWebBrowser(kMakerAddress); };
    lblOnlineDocumentation.Click = [this] { LaunchWebBrowser(strDocumentationAddress); };
    lblCopyright.DblClick = [this] {
        std::string stamp = kBuildStamp;
        // A box with an empty title would read as an error of the desktop's.
        ui::TheUi().MsgBox(stamp.substr(stamp.size() - 5), ui::Buttons::OK, ui::Icon::None,
                           strProductName);
    };
    // Closing the window ends the program exactly as Quit does.
    OnClose = [this] { cmdQuit_MouseUp(); };
}

void frmMain::WireMenuButton(ui::Control& button, void (frmMain::*action)()) {
    WireMenuButton(button, [this, action] { (this->*action)(); });
}

void frmMain::WireMenuButton(ui::Control& button, std::function<void()> action) {
    button.MouseUp = [action](ui::MouseButton) { action(); };
    // Enter and Space press it as the mouse's release does.
    button.KeyPress = std::move(action);
}

void frmMain::WireFocusFollowsMouse() {
    for (const auto& control : Controls()) {
        if (control->Kind() != ui::ControlKind::Button) continue;
        ui::Control* button = control.get();
        if (button == &cmdReportScreen) {
            // The report window keeps the focus while it is shown.
            button->MouseMove = [this, button] {
                if (!Forms().Report().Visible()) button->SetFocus();
            };
        } else {
            button->MouseMove = [button] { button->SetFocus(); };
        }
    }
}

std::string frmMain::ProgramVersion() {
    return std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion) + kBuildDigit;
}

void frmMain::Form_Load() {
    blnStartupCompleted = false;
    LoadProgramText("kz_text.dat");
    strProductName = GetProgramText(1);
    strVersion = ProgramVersion();
    SetCaption(strProductName + " " + strVersion);
    InitializeMainWindow();
    ClearBoldFonts();
    Show();
    Forms().TypeOfPurge().Initialization();
    // Dummy files of a fill that was killed would keep a disk full.
    OfferFillLeftovers();
    LoadNextRunSetup();
    KeepSetupSnapshot();
    Refresh();
    ToggleSubfoldersAndConfirmation();
    RefreshSelection();
    ShowTypeOfPurge();
    cmdSpecifyDirectory(0).SetFocus();
    blnStartupCompleted = true;
}

void frmMain::InitializeMainWindow() {
    strDocumentationAddress = GetProgramText(27);
    intCharWidth = 123;
    strNotSpecified = GetProgramText(4);
    blnSubdirectories = true;
    blnConfirmFiles = true;
    strFolderPath[0].clear();
    strFileSpec[0].clear();
    picSaveSetup.SetVisible(false);

    lblSetupFilename.Move(lblDirectory(0).Left(), fraMenu.Top() + cmdSetup.Top(),
                          lblDirectory(0).Width(), lblSetupFilename.Height());
    lblSetupFilename.SetCaption("");
    lblSetupFilename.SetVisible(false);

    const int copyrightTop = fraMenu.Top() + cmdQuit.Top() + 100;
    lblCopyright.Move(lblDirectory(0).Left(), copyrightTop);
    lblTalvaneSystems.Move(lblCopyright.Left() + lblCopyright.Width() + 240, copyrightTop);
    lblOnlineDocumentation.Move(lblTalvaneSystems.Left() + lblTalvaneSystems.Width() + 240,
                                copyrightTop);
    lblEstimatedTime.Move(lblFiles(0).Left(), cmdProcessFiles(2).Top() + 130);
    lblPurgeSpeed.Move(lblFiles(0).Left(), cmdPurgeSpeed.Top() + 130);

    sngPurgeSpeed.fill(0);
    lngClusterSizeByDrive.fill(0);
    strNextRunSetupPath = UserDataFilePath("kz.usr", GetProgramText(310));
    Forms().PurgeWarning().blnShowPurgeWarning = true;
    Forms().TypeOfPurge().Initialization();
    ShowTypeOfPurge();

    auto& confirmation = Forms().PurgeConfirmation();
    for (ui::Control* box :
         {&confirmation.chkPurgeSlack, &confirmation.chkDoNotDeletePurgedFiles,
          &confirmation.chkOKToPurgeReadOnlyFiles, &confirmation.chkOKToPurgeSensitiveFiles,
          &confirmation.chkDeleteEmptyFolders, &confirmation.chkFolderNamesOnly}) {
        box->SetValue(0);
    }
    lblPurgeSpeed.SetCaption("");
    lblEstimatedTime.SetCaption("");
    // The root of the current drive becomes the current folder; on POSIX the
    // program keeps no current folder of its own, so there is nothing to do.
}

bool frmMain::FilesSpecified() const {
    return !strFolderPath[0].empty() && !strFileSpec[0].empty();
}

void frmMain::SetSelectionLabelsVisible(bool visible) {
    if (!visible) savedFilesCaption_ = lblFiles(0).Caption();
    for (ui::Control* label :
         {&lblSingleFile, &lblDirectory(0), &lblFiles(0), &lblFiles2(0), &lblSubdirectories,
          &lblSubdirectories2, &lblEstimatedTime, &lblConfirmFiles, &lblConfirmFiles2}) {
        label->SetVisible(visible);
    }
}

void frmMain::Clock_Timer() {
    auto& report = Forms().Report();
    // The text box catches up with the report once a second, not per line.
    report.ShowReportText();
    report.txbText.SetSelStart(static_cast<int>(report.txbText.Caption().size()));
    report.Refresh();
    report.lngSecondsElapsed += 1;
}

void frmMain::cmdReportScreen_MouseUp() {
    auto& report = Forms().Report();
    if (report.txbText.Caption().empty()) {
        ui::TheUi().MsgBox("The report window is empty.", ui::Buttons::OK, ui::Icon::None,
                           "Report window");
        return;
    }
    report.Show();
    // The end in view: the summary is what the user comes back for.
    report.txbText.SetSelStart(static_cast<int>(report.txbText.Caption().size()));
    report.Refresh();
    report.txbText.SetFocus();
}

void frmMain::cmdHelp_MouseUp() {
    std::string text = kHelpText;
    std::string compactVersion;
    for (char c : strVersion) {
        if (c != '.') compactVersion += c;
    }
    text.replace(text.find("%M"), 2, compactVersion);
    ui::TheUi().MsgBox(text, ui::Buttons::OK, ui::Icon::None, strProductName);
}

void frmMain::cmdQuit_MouseUp() { ui::TheUi().EndProgram(0); }
