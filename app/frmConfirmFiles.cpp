#include "app/frmConfirmFiles.h"

#include "app/Forms.h"
#include "purge/frmReport.h"

using ui::ControlKind;

void frmConfirmFiles::CreateControls() {
    Add(ControlKind::Button, "cmdYesAndDontShowAgain",
        "Purge this file and all subsequent files (don't show this again).", 240, 1560, 6600, 375);
    Add(ControlKind::Button, "cmdStopPurge", "Stop this purge", 240, 2040, 6600, 375);
    Add(ControlKind::Button, "cmdNo", "No", 3660, 1080, 1500, 375);
    Add(ControlKind::Button, "cmdYes", "Yes", 1920, 1080, 1500, 375);
    Add(ControlKind::Label, "lblFile", "", 240, 600, 6600, 255);
    Add(ControlKind::Label, "lblPurgeThisFile", "Purge this file?", 240, 240, 6600, 255);
    SetCaption("Confirm purging of this file");
    Resize(7080, 2880);
}

frmConfirmFiles::frmConfirmFiles()
    : Form("frmConfirmFiles"),
      cmdYesAndDontShowAgain((CreateControls(), (*this)("cmdYesAndDontShowAgain"))),
      cmdStopPurge((*this)("cmdStopPurge")),
      cmdNo((*this)("cmdNo")),
      cmdYes((*this)("cmdYes")),
      lblFile((*this)("lblFile")),
      lblPurgeThisFile((*this)("lblPurgeThisFile")) {
    cmdYes.Click = [this] {
        blnFileConfirmed = true;
        Hide();
    };
    cmdNo.Click = [this] {
        blnFileConfirmed = false;
        Hide();
    };
    cmdYesAndDontShowAgain.Click = [this] {
        blnFileConfirmed = true;
        Forms().Report().blnPurgeRemainingFiles = true;
        Hide();
    };
    cmdStopPurge.Click = [this] {
        blnFileConfirmed = false;
        Forms().Report().blnStop = true;
        Forms().Report().lblPausedDone.SetCaption("Stopped");
        Hide();
    };
    // Closing the window declines this file, as No does.
    OnClose = cmdNo.Click;
}
