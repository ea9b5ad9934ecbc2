#include "app/frmTypeOfPurge.h"

#include <string>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "support/ProgramText.h"
#include "ui/Ui.h"

using ui::ControlKind;

namespace {
const char* const kTypeDescriptions[] = {
    "Overwrite the data once with random bytes.",
    "Overwrite the data four times with bit patterns 10101010, 01010101, 00001010 and 11110101.",
    "Overwrite the data twice with bit patterns 10101010 and 01010101, then with random bytes, "
    "then twice with bit patterns 00001010 and 11110101, then again with random bytes."};
int instancesMade = 0;
}  // namespace

int frmTypeOfPurge::InstancesMade() { return instancesMade; }

void frmTypeOfPurge::CreateControls() {
    constexpr int kTypeStep = 1140;
    for (int i = 0; i < kNumTypes; ++i) {
        Add(ControlKind::OptionButton, "optPurgeType", PurgeTypeOptionCaption(i), 240,
            240 + i * kTypeStep, 5400, 300, nullptr, i);
        Add(ControlKind::Label, "lblPurgeType", "", 600, 560 + i * kTypeStep, 6600, 780, nullptr,
            i);
    }
    Add(ControlKind::Label, "lblNumberOfTimes", "Number of times:", 240, 3740, 1800, 255);
    for (int i = 0; i < kNumTypes; ++i) {
        Add(ControlKind::ComboBox, "cboNumberOfPasses", "", 2100, 3680, 900, 315, nullptr, i);
    }
    Add(ControlKind::Label, "lblDOD", "", 240, 4260, 6960, 520);
    Add(ControlKind::Button, "cmdAccept", "Accept", 3960, 4980, 1500, 375);
    Add(ControlKind::Button, "cmdCancel", "Cancel", 5640, 4980, 1500, 375);
    SetCaption("What type of purge should be used?");
    Resize(7440, 5700);
}

frmTypeOfPurge::frmTypeOfPurge()
    : Form("frmTypeOfPurge"),
      lblNumberOfTimes((CreateControls(), (*this)("lblNumberOfTimes"))),
      lblDOD((*this)("lblDOD")),
      cmdAccept((*this)("cmdAccept")),
      cmdCancel((*this)("cmdCancel")) {
    ++instancesMade;
    for (int i = 0; i < kNumTypes; ++i) {
        optPurgeType(i).Click = [this] { ShowPassesList(); };
        cboNumberOfPasses(i).Click = [this] {
            if (Visible()) cmdAccept.SetFocus();
        };
    }
    cmdAccept.Click = [this] { cmdAccept_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    // The close box cancels, so the selections survive it.
    OnClose = [this] { cmdCancel_Click(); };
    OnActivate = [this] { Form_Activate(); };
}

void frmTypeOfPurge::Initialization() {
    intMinNumPasses = kMinPasses;
    for (int i = 0; i < kNumTypes; ++i) {
        ui::Control& list = cboNumberOfPasses(i);
        list.ClearItems();
        intMaxNumPasses = MaxPassesOf(i);
        for (int n = intMinNumPasses; n <= intMaxNumPasses; ++n) list.AddItem(std::to_string(n));
    }
    optPurgeType(1).SetValue(1);
    for (int i = 0; i < kNumTypes; ++i) {
        cboNumberOfPasses(i).SetValue(DefaultPassesOf(i) - intMinNumPasses);
        lblPurgeType(i).SetCaption(kTypeDescriptions[i]);
    }
    lblDOD.SetCaption(
        "Both the type 2 purge (if done 6 times) and the type 3 purge (if done 3 times) meet the "
        "U.S. DoD 5220.22-M standard for disk sanitization.");
}

int frmTypeOfPurge::GetPurgeType() const {
    if (optPurgeType(0).Value() != 0) return 0;
    if (optPurgeType(1).Value() != 0) return 1;
    return 2;
}

int frmTypeOfPurge::GetNumberOfPasses() const {
    return cboNumberOfPasses(GetPurgeType()).Value() + intMinNumPasses;
}

int frmTypeOfPurge::GetNumOverwrites() const {
    return Choice().NumOverwrites();
}

bool frmTypeOfPurge::SelectTypeAndPasses(int purgeType, int passes) {
    if (!IsOffered({purgeType, passes})) return false;
    optPurgeType(purgeType).SetValue(1);
    cboNumberOfPasses(purgeType).SetValue(passes - intMinNumPasses);
    return true;
}

void frmTypeOfPurge::Form_Activate() {
    savedType_ = GetPurgeType();
    ShowPassesList();
    cmdAccept.SetFocus();
}

void frmTypeOfPurge::ShowPassesList() {
    if (!Visible()) return;
    int type = GetPurgeType();
    for (int i = 0; i < kNumTypes; ++i) cboNumberOfPasses(i).SetVisible(i == type);
    cmdAccept.SetFocus();
}

void frmTypeOfPurge::cmdAccept_Click() {
    int n = GetNumOverwrites();
    std::string question = "In the type of purge specified each file will be overwritten ";
    question += n == 1 ? "once." : n == 2 ? "twice." : std::to_string(n) + " times.";
    if (n > 30) {
        question += "\r\nThis is a rather large number of overwrites.  "
                    "Are you sure you want to do this?";
    } else {
        question += "  Is this OK?";
    }
    if (ui::TheUi().MsgBox(question, ui::Buttons::YesNo, ui::Icon::None, GetProgramText(23)) !=
        ui::Answer::Yes) {
        return;
    }
    Forms().Main().lblEstimatedTime.SetCaption("");
    Hide();
}

void frmTypeOfPurge::cmdCancel_Click() {
    optPurgeType(savedType_).SetValue(1);
    Hide();
}
