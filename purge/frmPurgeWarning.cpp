#include "purge/frmPurgeWarning.h"

#include "ui/Ui.h"

using ui::ControlKind;

frmPurgeWarning::frmPurgeWarning()
    : Form("frmPurgeWarning"),
      lblMessage(Add(ControlKind::Label, "lblMessage", "", 240, 240, 6200, 1800)),
      chkDontShowAgain(Add(ControlKind::CheckBox, "chkDontShowAgain",
                           "Don't display this advice again during this operation.", 240, 2160,
                           6200, 300)),
      cmdOK(Add(ControlKind::Button, "cmdOK", "OK", 1200, 2640, 1500, 400)),
      cmdStopPurge(Add(ControlKind::Button, "cmdStopPurge", "Cancel purge operation", 3300, 2640,
                       2400, 400)) {
    SetCaption("Purge advice");
    Resize(6800, 3600);
    chkDontShowAgain.Click = [this] {
        blnShowPurgeWarning = chkDontShowAgain.Value() == 0;
        if (Visible()) cmdOK.SetFocus();
    };
    cmdOK.Click = [this] {
        blnShowPurgeWarning = chkDontShowAgain.Value() == 0;
        Hide();
    };
    cmdStopPurge.Click = [this] {
        blnStopPurge = true;
        Hide();
    };
}

void frmPurgeWarning::Form_Activate() {
    lblMessage.SetCaption(
        "The file " + strPurgeFilePath +
        " will now be purged.  If Norton AntiVirus Auto-Protect (or a similar utility) is "
        "active then it may produce a warning message (each time the file  is to be "
        "overwritten).  If so, do not stop the operation but rather allow it to continue.\r\n"
        "\r\n"
        "It is better to disable your antivirus software either before running Kestrane or "
        "during a run (like now).");
    ui::TheUi().Beep();
    cmdStopPurge.SetVisible(blnPurgeRunning);
    blnStopPurge = false;
    cmdOK.SetFocus();
}
