#include "disk/frmExcludedFolders.h"

#include <stdexcept>

using ui::ControlKind;

frmExcludedFolders::frmExcludedFolders()
    : Form("frmExcludedFolders"),
      lblIntro(Add(ControlKind::Label, "lblIntro", "", 240, 120, 6600, 900)),
      txbExcludedFolders(
          Add(ControlKind::TextBox, "txbExcludedFolders", "", 240, 1100, 6600, 2400)),
      cmdAddFolder(Add(ControlKind::Button, "cmdAddFolder", "Add folder", 240, 3700, 1800, 400)),
      cmdRemoveLastFolder(Add(ControlKind::Button, "cmdRemoveLastFolder", "Remove last folder",
                              2200, 3700, 2200, 400)),
      chkKeepTopFiles(Add(ControlKind::CheckBox, "chkKeepTopFiles",
                          "Do not purge top-level files on Drive ", 240, 4250, 6000, 300)),
      cmdClose(Add(ControlKind::Button, "cmdClose", "Continue", 5000, 3700, 1800, 400)) {
    SetCaption("Excluded folders");
    Resize(7200, 5300);
    txbExcludedFolders.SetMultiline(true);
    txbExcludedFolders.SetLocked(true);
    cmdRemoveLastFolder.SetVisible(false);
}

std::string frmExcludedFolders::IthExcludedFolder(std::int16_t intI) const {
    if (intI < 0 || intI > kMaxExcludedFolders) {
        throw std::out_of_range("excluded folder position " + std::to_string(intI));
    }
    return intI <= intNumExcludedFolders ? strExcludedFolder_[intI] : "";
}
