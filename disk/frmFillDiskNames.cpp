// The fill window's names pass: the window shows its progress and hands it
// the stop of F10, the close box and a stop signal.
#include "disk/frmFillDisk.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "ui/Ui.h"

NamesPassOutcome frmFillDisk::OverwriteFileNames() {
    namesOutcome_ = {};
    if (!held_) {
        namesOutcome_.failure = "the drive is not open";
        return namesOutcome_;
    }
    blnStopp = false;
    abandoned_ = false;
    namesPass_ = true;
    ShowModal();
    namesPass_ = false;
    return namesOutcome_;
}

void frmFillDisk::RunNamesPass() {
    const std::string drive = std::string(1, heldLetter_) + ":";
    const std::string base = "Overwriting file names in Drive " + drive;
    lblLabel.SetCaption(base);
    Refresh();
    namesOutcome_ = OverwriteDeletedNames(*held_, drive, [&](std::uint64_t entries) {
        lblLabel.SetCaption(base + "\r\nEntries written: " + FormatNumber(double(entries), 0));
        Refresh();
        ui::TheUi().DoEvents();
        return !blnStopp && !abandoned_;
    });
}
