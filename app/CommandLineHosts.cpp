#include "app/CommandLineHosts.h"

#include "app/Forms.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"

CommandLineWindow::CommandLineWindow()
    : Form("CommandLine"),
      lblPurgeSpeed(Add(ui::ControlKind::Label, "lblPurgeSpeed", "", 0, 0, 0, 0)) {}

frmSpecifyDrive& CommandLineSpeedTestHost::SpecifyDrive() { return forms_.SpecifyDrive(); }
frmFillDisk& CommandLineSpeedTestHost::FillDisk() { return forms_.FillDisk(); }
