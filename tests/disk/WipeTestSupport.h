// A started program with drive C (the program's) and drive D (the one to
// wipe) on temporary folders, and the user's part in a disk wipe: the drive
// dialog, the excluded folders and the questions. Dummy files are counted,
// not written (the machine's own disk is never filled), unless a test
// mounts a small file system of its own and asks for real ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/MainWindowHosts.h"
#include "app/frmMain.h"
#include "disk/DiskWipe.h"
#include "disk/SystemDrive.h"
#include "disk/frmExcludedFolders.h"
#include "disk/frmSpecifyDrive.h"
#include "tests/disk/DiskTestSupport.h"
#include "tests/purge/RunTestSupport.h"

namespace disk_testing {

// Drives whose free and total bytes a test sets (the others as they are).
class SizedDrives : public DriveOverrides {
  public:
    std::map<char, std::pair<double, double>> sizes;  // letter: free, total

    std::optional<platform::DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) override {
        auto it = sizes.find(platform::DriveLetterOf(root));
        if (it == sizes.end()) return DriveOverrides::DiskFreeSpaceExFor(root);
        platform::DiskFreeSpaceEx space;
        space.freeBytesAvailable = Split(it->second.first);
        space.totalBytes = Split(it->second.second);
        return space;
    }

  private:
    static platform::SplitCount Split(double bytes) {
        const auto value = static_cast<std::uint64_t>(bytes);
        return {static_cast<std::int32_t>(value >> 32),
                static_cast<std::int32_t>(static_cast<std::uint32_t>(value))};
    }
};

// The temporary drives lie on the machine's own disk, beside the running
// system, perhaps under /var: for the life of the object only the program
// folder a test set counts as the system's, so that they may be wiped.
class SystemOnlyTheProgramFolder {
  public:
    SystemOnlyTheProgramFolder() { SetSystemFoldersForTesting(std::vector<std::string>{}); }
    ~SystemOnlyTheProgramFolder() { SetSystemFoldersForTesting(std::nullopt); }
    SystemOnlyTheProgramFolder(const SystemOnlyTheProgramFolder&) = delete;
    SystemOnlyTheProgramFolder& operator=(const SystemOnlyTheProgramFolder&) = delete;
};

class WipeProgram {
  public:
    // countFills: dummy files are counted up to fillBytes instead of
    // written, and the file system's reserve is a fake one. Otherwise the
    // fill writes real files and lowers a real reserve.
    explicit WipeProgram(bool countFills = true, std::uint64_t fillBytes = 3 << 20) : run_("CD") {
        if (countFills) {
            counting_.emplace();
            counting_->capacity = fillBytes;
            reserve_.emplace();
        }
    }

    run_testing::RunProgram& Run() { return run_; }
    ui::HeadlessUi& Ui() { return run_.Ui(); }
    frmMain& Main() { return run_.Main(); }
    testing_support::TempDrives& Drives() { return run_.Drives(); }
    CountingFiles* Counting() { return counting_ ? &*counting_ : nullptr; }

    // The user picks the drive (and accepts, or cancels) and then the
    // excluded folders and the check box.
    void ChooseDrive(char letter, bool accept = true) {
        Ui().OnModal("frmSpecifyDrive", [=](ui::Form& form) {
            auto& dialog = static_cast<frmSpecifyDrive&>(form);
            dialog.SetCurrentDrive(std::string(1, letter) + ":");
            (accept ? dialog.cmdAccept : dialog.cmdCancel).RaiseClick();
        });
    }
    void Exclude(std::vector<std::string> folders, bool keepTopFiles) {
        Ui().OnModal("frmExcludedFolders", [this, folders, keepTopFiles](ui::Form& form) {
            auto& dialog = static_cast<frmExcludedFolders&>(form);
            for (const auto& folder : folders) {
                Ui().AnswerNextFolderBrowse(folder);
                dialog.cmdAddFolder.RaiseClick();
            }
            if ((dialog.chkKeepTopFiles.Value() != 0) != keepTopFiles) {
                dialog.chkKeepTopFiles.PressKey();
            }
            dialog.cmdClose.RaiseClick();
        });
        Ui().OnModal("frmFillDisk", [](ui::Form&) {});
    }
    // Queues the answers to the wipe's questions, in order.
    void Answer(std::initializer_list<ui::Answer> answers) {
        for (auto answer : answers) Ui().AnswerNextBox(answer);
    }
    // "Wipe disk" in the main window.
    void Wipe() { Main().cmdWipeDisk.RaiseMouseUp(); }
    SizedDrives& Sizes() { return drives_; }
    FakeReserve& Reserve() { return *reserve_; }
    // The texts of the boxes titled "Wipe disk", in order.
    std::vector<std::string> WipeBoxes() const {
        std::vector<std::string> texts;
        for (const auto& box : const_cast<WipeProgram*>(this)->Ui().Boxes()) {
            if (box.title == "Wipe disk") texts.push_back(box.text);
        }
        return texts;
    }

  private:
    run_testing::RunProgram run_;
    SizedDrives drives_;
    std::optional<FakeReserve> reserve_;
    std::optional<CountingFiles> counting_;
    SystemOnlyTheProgramFolder system_;
};

}  // namespace disk_testing
