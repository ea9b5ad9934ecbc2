// What the command line's speed test and wipe have in place of the main
// window they start from in the program: a window that is never shown, the
// command line's own per-drive speeds, and no selection to hide and show.
#pragma once

#include <array>
#include <string>

#include "app/WindowRun.h"
#include "disk/PurgeSpeedTest.h"
#include "disk/WipeHost.h"
#include "ui/Form.h"

class FormSet;

// Stands where the main window stands for the window's own runs: the speed
// test writes "Testing ..." on its label, and dialogs open beside it.
class CommandLineWindow : public ui::Form {
  public:
    CommandLineWindow();
    ui::Control& lblPurgeSpeed;
};

// The speeds measured on the command line, by drive letter, in MB/sec. for
// one overwrite (0: none measured), for the estimate of a listing.
using DriveSpeeds = std::array<float, 26>;

class CommandLineSpeedTestHost : public PurgeSpeedTestHost {
  public:
    CommandLineSpeedTestHost(FormSet& forms, DriveSpeeds& speeds)
        : forms_(forms), speeds_(speeds) {}
    frmSpecifyDrive& SpecifyDrive() override;
    frmFillDisk& FillDisk() override;
    ui::Form& Window() override { return window_; }
    ui::Control& PurgeSpeedLabel() override { return window_.lblPurgeSpeed; }
    // The result is printed; no estimate stands anywhere to be cleared.
    void ShowEstimatedTime(const std::string&) override {}
    // The drive was named on the command line and is not offered again.
    void DriveChosen(const std::string&) override {}
    void SpeedMeasured(char L, float S) override { speeds_[L - 'A'] = S; }

  private:
    FormSet& forms_;
    DriveSpeeds& speeds_;
    CommandLineWindow window_;
};

class CommandLineWipeHost : public WipeHost {
  public:
    // `drive` ("D:") is the one named on the command line; `type` is the
    // purge type the wipe runs with.
    CommandLineWipeHost(FormSet& forms, const std::string& drive, const PurgeTypeChoice& type);

    frmSpecifyDrive& SpecifyDrive() override;
    frmExcludedFolders& ExcludedFolders() override;
    frmFillDisk& FillDisk() override;
    frmAntiVirusQuery& AntiVirusQuery() override;
    frmReport& Report() override;
    RunHost& RunWindows() override { return runWindows_; }
    ui::Form& Window() override { return window_; }
    int DialogLeft() override { return window_.Left(); }
    int DialogTop() override { return window_.Top(); }
    // The purge type given and no purge confirmed; no speed was measured
    // and no cluster size chosen before a wipe.
    PurgeRun RunNow() override;
    std::string LastDrive() override { return lastDrive_; }
    void DriveChosen(const std::string& D) override { lastDrive_ = D; }
    // Unattended, the wipe offers no speed test.
    void TestPurgeSpeed() override {}
    // No window shows a selection to hide, replace or give back.
    void HideSelection() override {}
    void ShowWipeSelection(const std::string&) override {}
    void ShowWholeDrive(const std::string&, bool) override {}
    void RunGoing(bool going) override { runGoing_ = going; }
    void WipeEnded(bool) override {}

    // The wipe's run in the report window is under way: a stop signal now
    // stops it as the report's Stop button would.
    bool RunIsGoing() const { return runGoing_; }

  private:
    FormSet& forms_;
    WindowRunHost runWindows_;
    CommandLineWindow window_;
    std::string lastDrive_;
    PurgeTypeChoice type_;
    bool runGoing_ = false;
};
