// What the command line's speed test and wipe have in place of the main
// window they start from in the program: a window that is never shown, the
// command line's own per-drive speeds, and no selection to hide and show.
#pragma once

#include <array>

#include "disk/PurgeSpeedTest.h"
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
