// The main window as the window that the purge speed test and the disk
// wipe start from: where their dialogs open, the labels that show what they
// do, the last drive chosen and the per-drive speeds.
#pragma once

#include <memory>
#include <string>

#include "app/WindowRun.h"
#include "disk/DiskWipe.h"
#include "disk/PurgeSpeedTest.h"
#include "disk/WipeHost.h"

class FormSet;
class SelectionBeforeWipe;

// The speed test with the purge type chosen now, on the drive last chosen
// or else the selected folder's; its windows open at (left, top).
PurgeSpeedTestRun SpeedTestRunOf(const std::string& lastDrive, const std::string& folder,
                                 const PurgeTypeChoice& type, int left = 0, int top = 0);
// The speed test of the main window's "Test purge speed" button, on the
// drive its run names.
PurgeSpeedTestRun SpeedTestRun(FormSet& forms);
PurgeSpeedTestOutcome TestPurgeSpeed(const PurgeSpeedTestOptions& options = {});

// The wipe of the main window's "Wipe disk" button.
DiskWipeEnding WipeDisk(const DiskWipeOptions& options = {});

class MainSpeedTestHost : public PurgeSpeedTestHost {
  public:
    explicit MainSpeedTestHost(FormSet& forms) : forms_(forms) {}
    frmSpecifyDrive& SpecifyDrive() override;
    frmFillDisk& FillDisk() override;
    ui::Form& Window() override;
    ui::Control& PurgeSpeedLabel() override;
    void ShowEstimatedTime(const std::string& text) override;
    void DriveChosen(const std::string& D) override;
    void SpeedMeasured(char L, float S) override;

  private:
    FormSet& forms_;
};

class MainWipeHost : public WipeHost {
  public:
    explicit MainWipeHost(FormSet& forms);
    ~MainWipeHost() override;

    frmSpecifyDrive& SpecifyDrive() override;
    frmExcludedFolders& ExcludedFolders() override;
    frmFillDisk& FillDisk() override;
    frmAntiVirusQuery& AntiVirusQuery() override;
    frmReport& Report() override;
    RunHost& RunWindows() override { return runWindows_; }
    ui::Form& Window() override;
    int DialogLeft() override;
    int DialogTop() override;
    PurgeRun RunNow() override;
    std::string LastDrive() override;
    void DriveChosen(const std::string& D) override;
    void TestPurgeSpeed() override;
    void HideSelection() override;
    void ShowWipeSelection(const std::string& caption) override;
    void ShowWholeDrive(const std::string& folder, bool subfolders) override;
    void RunGoing(bool going) override;
    void WipeEnded(bool ran) override;

  private:
    FormSet& forms_;
    WindowRunHost runWindows_;
    std::string filesCaption_;  // the files label before the wipe
    std::unique_ptr<SelectionBeforeWipe> before_;
};
