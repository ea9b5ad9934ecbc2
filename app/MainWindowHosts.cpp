#include "app/MainWindowHosts.h"

#include "app/Forms.h"
#include "app/SelectionBeforeWipe.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"

namespace {
// The drive dialog and the fill open beside the menu, level with the
// button below the one pressed.
constexpr int kBesideMenu = 100;
constexpr int kBelowButtonTop = 330;

int BesideMenu(const frmMain& main) {
    return main.Left() + main.fraMenu.Left() + main.fraMenu.Width() + kBesideMenu;
}
int BelowButton(const frmMain& main, const ui::Control& button) {
    return main.Top() + main.fraMenu.Top() + button.Top() + kBelowButtonTop;
}
}  // namespace

PurgeSpeedTestRun SpeedTestRunOf(const std::string& lastDrive, const std::string& folder,
                                 const PurgeTypeChoice& type, int left, int top) {
    PurgeSpeedTestRun run;
    run.strLastDrive = lastDrive;
    run.strFolderPath = folder;
    run.intPurgeType = type.purgeType;
    run.intNumberOfPasses = type.passes;
    run.intNumOverwrites = type.NumOverwrites();
    run.intTop = top;
    run.intLeft = left;
    return run;
}

PurgeSpeedTestRun SpeedTestRun(FormSet& forms) {
    frmMain& main = forms.Main();
    return SpeedTestRunOf(main.strLastDrive, main.strFolderPath[0],
                          forms.TypeOfPurge().Choice(), BesideMenu(main),
                          BelowButton(main, main.cmdPurgeSpeed));
}

PurgeSpeedTestOutcome TestPurgeSpeed(const PurgeSpeedTestOptions& options) {
    MainSpeedTestHost host(Forms());
    return TestPurgeSpeed(SpeedTestRun(Forms()), host, options);
}

DiskWipeEnding WipeDisk(const DiskWipeOptions& options) {
    MainWipeHost host(Forms());
    return WipeDisk(host, options);
}

frmSpecifyDrive& MainSpeedTestHost::SpecifyDrive() { return forms_.SpecifyDrive(); }
frmFillDisk& MainSpeedTestHost::FillDisk() { return forms_.FillDisk(); }
ui::Form& MainSpeedTestHost::Window() { return forms_.Main(); }
ui::Control& MainSpeedTestHost::PurgeSpeedLabel() { return forms_.Main().lblPurgeSpeed; }
void MainSpeedTestHost::ShowEstimatedTime(const std::string& text) {
    forms_.Main().lblEstimatedTime.SetCaption(text);
}
void MainSpeedTestHost::DriveChosen(const std::string& D) { forms_.Main().strLastDrive = D; }
void MainSpeedTestHost::SpeedMeasured(char L, float S) { forms_.Main().sngPurgeSpeed[L - 'A'] = S; }

MainWipeHost::MainWipeHost(FormSet& forms) : forms_(forms), runWindows_(forms) {}
MainWipeHost::~MainWipeHost() = default;

frmSpecifyDrive& MainWipeHost::SpecifyDrive() { return forms_.SpecifyDrive(); }
frmExcludedFolders& MainWipeHost::ExcludedFolders() { return forms_.ExcludedFolders(); }
frmFillDisk& MainWipeHost::FillDisk() { return forms_.FillDisk(); }
frmAntiVirusQuery& MainWipeHost::AntiVirusQuery() { return forms_.AntiVirusQuery(); }
frmReport& MainWipeHost::Report() { return forms_.Report(); }
ui::Form& MainWipeHost::Window() { return forms_.Main(); }
int MainWipeHost::DialogLeft() { return BesideMenu(forms_.Main()); }
int MainWipeHost::DialogTop() { return BelowButton(forms_.Main(), forms_.Main().cmdWipeDisk); }
PurgeRun MainWipeHost::RunNow() { return SelectionRun(forms_); }
std::string MainWipeHost::LastDrive() { return forms_.Main().strLastDrive; }
void MainWipeHost::DriveChosen(const std::string& D) { forms_.Main().strLastDrive = D; }
void MainWipeHost::TestPurgeSpeed() { forms_.Main().cmdPurgeSpeed_MouseUp(); }

void MainWipeHost::HideSelection() {
    frmMain& main = forms_.Main();
    filesCaption_ = main.lblFiles(0).Caption();
    main.SetSelectionLabelsVisible(false);
}

void MainWipeHost::ShowWipeSelection(const std::string& caption) {
    frmMain& main = forms_.Main();
    main.lblFiles(0).SetCaption(caption);
    main.lblFiles(0).SetVisible(true);
}

void MainWipeHost::ShowWholeDrive(const std::string& folder, bool subfolders) {
    frmMain& main = forms_.Main();
    before_ = std::make_unique<SelectionBeforeWipe>(main);
    main.strFolderPath[0] = folder;
    main.strFileSpec[0] = "*.*";
    main.ShowSelection(0);
    main.SetSelectionLabelsVisible(false);
    main.lblFiles(0).SetVisible(true);
    main.blnSubdirectories = subfolders;
    if (!subfolders) {
        main.lblSubdirectories.SetCaption("No");
        main.lblSubdirectories2.SetCaption("(The folder has no subfolders.)");
    } else {
        main.lblSubdirectories.SetCaption("Yes");
        main.lblSubdirectories2.SetCaption("(Purge all files in all folders.)");
    }
    main.blnConfirmFiles = false;
    main.lblConfirmFiles.SetCaption("No");
    main.lblConfirmFiles2.SetCaption("");
}

void MainWipeHost::RunGoing(bool going) {
    frmMain& main = forms_.Main();
    main.blnWipeDisk = going;
    main.fraMenu.SetEnabled(!going);
    main.fraSetup.SetEnabled(!going);
}

void MainWipeHost::WipeEnded(bool ran) {
    frmMain& main = forms_.Main();
    if (!ran) main.lblFiles(0).SetCaption(filesCaption_);
    main.SetSelectionLabelsVisible(true);
    if (before_) {
        before_->PutBack(main);
        before_.reset();
    }
}
