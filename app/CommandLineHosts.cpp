#include "app/CommandLineHosts.h"

#include "app/Forms.h"
#include "disk/frmExcludedFolders.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmReport.h"

CommandLineWindow::CommandLineWindow()
    : Form("CommandLine"),
      lblPurgeSpeed(Add(ui::ControlKind::Label, "lblPurgeSpeed", "", 0, 0, 0, 0)) {}

frmSpecifyDrive& CommandLineSpeedTestHost::SpecifyDrive() { return forms_.SpecifyDrive(); }
frmFillDisk& CommandLineSpeedTestHost::FillDisk() { return forms_.FillDisk(); }

CommandLineWipeHost::CommandLineWipeHost(FormSet& forms, const std::string& drive,
                                         const PurgeTypeChoice& type)
    : forms_(forms), runWindows_(forms), lastDrive_(drive), type_(type) {}

frmSpecifyDrive& CommandLineWipeHost::SpecifyDrive() { return forms_.SpecifyDrive(); }
frmExcludedFolders& CommandLineWipeHost::ExcludedFolders() { return forms_.ExcludedFolders(); }
frmFillDisk& CommandLineWipeHost::FillDisk() { return forms_.FillDisk(); }
frmAntiVirusQuery& CommandLineWipeHost::AntiVirusQuery() { return forms_.AntiVirusQuery(); }
frmReport& CommandLineWipeHost::Report() { return forms_.Report(); }

PurgeRun CommandLineWipeHost::RunNow() {
    return RunOfSelection(Selection{}, type_, PurgeOptions{});
}
