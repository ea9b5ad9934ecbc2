// What the benchmarks of the fill window share: a clock, and the program's
// windows without a display, with drive F: on the folder measured.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/Forms.h"
#include "disk/frmFillDisk.h"
#include "platform/DrivePaths.h"
#include "support/ProgramText.h"
#include "ui/headless/HeadlessUi.h"

namespace bench {

// Seconds the work takes on a steady clock.
template <typename Work>
double Seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The windows with drive F: on `folder` and the user's settings kept in
// `config`; the fill window runs without waiting for anyone.
class HeadlessFill {
  public:
    HeadlessFill(const std::filesystem::path& folder, const std::filesystem::path& config) {
        // The settings and drives are read as the windows are made.
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        platform::SetDrives(platform::DriveTable::FromSpec("C=/;F=" + folder.string()));
        ui::SetUi(&ui_);
        ui_.OnModal("frmFillDisk", [](ui::Form&) {});
        forms_.emplace();
        LoadProgramText("kz_text.dat");
    }

    frmFillDisk& Fill() { return forms_->FillDisk(); }
    ui::HeadlessUi& Ui() { return ui_; }

  private:
    ui::HeadlessUi ui_;
    std::optional<FormSet> forms_;
};

}  // namespace bench
