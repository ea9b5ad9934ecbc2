#include "purge/frmAntiVirusQuery.h"

using ui::ControlKind;

frmAntiVirusQuery::frmAntiVirusQuery()
    : Form("frmAntiVirusQuery"),
      Label1(Add(ControlKind::Label, "Label1",
                 "Is Norton AntiVirus Auto-Protect, or some other file-monitoring software, "
                 "currently active on this PC?",
                 240, 240, 5400, 600)),
      cmdYes(Add(ControlKind::Button, "cmdYes", "Yes", 480, 1080, 1200, 400)),
      cmdNo(Add(ControlKind::Button, "cmdNo", "No", 2220, 1080, 1200, 400)),
      cmdDontKnow(Add(ControlKind::Button, "cmdDontKnow", "Don't know", 3960, 1080, 1200, 400)) {
    SetCaption("File-monitoring software query");
    Resize(6000, 2100);
    cmdYes.Click = [this] { Hide(); };
    cmdDontKnow.Click = [this] { Hide(); };
    cmdNo.Click = [this] {
        blnNo = true;
        Hide();
    };
}

void frmAntiVirusQuery::Form_Activate() {
    blnNo = false;
    cmdDontKnow.SetFocus();
}
