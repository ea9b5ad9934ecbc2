#include "purge/frmReport.h"

using ui::ControlKind;

frmReport::frmReport()
    : Form("frmReport"),
      cmdPauseContinue(Add(ControlKind::Button, "cmdPauseContinue", "Continue", 7900, 5000, 1000, 375)),
      cmdCopyToClipboard(Add(ControlKind::Button, "cmdCopyToClipboard",
                             "Copy selected text to clipboard", 120, 5000, 3165, 375)),
      cmdStop(Add(ControlKind::Button, "cmdStop", "Stop", 3500, 5000, 1000, 375)),
      cmdClose(Add(ControlKind::Button, "cmdClose", "Close", 4700, 5000, 1000, 375)),
      txbText(Add(ControlKind::TextBox, "txbText", "", 120, 120, 8900, 4635)),
      lblDots(Add(ControlKind::Label, "lblDots", "Each dot corresponds to a folder.", 120, 4800, 4000, 255)),
      lblPausedDone(Add(ControlKind::Label, "lblPausedDone", "Paused ...", 6000, 5030, 1500, 255)) {
    SetCaption("Report");
    Resize(9300, 5665);
    txbText.SetMultiline(true);
    txbText.SetLocked(true);
}
