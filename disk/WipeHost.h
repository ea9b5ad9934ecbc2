// What a disk wipe needs of the program around it: the windows it shows,
// the run as the program describes it now (purge type, speeds, cluster
// sizes chosen at purge confirmations), and the window it was started
// from, which shows the wipe's selection while it goes on and the user's
// own again when it has ended.
// The main window gives one; tests may give their own.
#pragma once

#include <string>

#include "purge/PurgeRun.h"

class RunHost;
class frmAntiVirusQuery;
class frmExcludedFolders;
class frmFillDisk;
class frmReport;
class frmSpecifyDrive;
namespace ui {
class Form;
}  // namespace ui

class WipeHost {
  public:
    virtual ~WipeHost() = default;

    // The windows the wipe shows, and those its run shows.
    virtual frmSpecifyDrive& SpecifyDrive() = 0;
    virtual frmExcludedFolders& ExcludedFolders() = 0;
    virtual frmFillDisk& FillDisk() = 0;
    virtual frmAntiVirusQuery& AntiVirusQuery() = 0;
    virtual frmReport& Report() = 0;
    virtual RunHost& RunWindows() = 0;

    // The window the wipe was started from (its dialogs open around it)
    // and the place beside its "Wipe disk" button where the drive dialog
    // and the fill open.
    virtual ui::Form& Window() = 0;
    virtual int DialogLeft() = 0;
    virtual int DialogTop() = 0;

    // The purge type, the per-drive speeds and cluster sizes as they stand
    // now; the wipe puts in its own drive, selection and options.
    virtual PurgeRun RunNow() = 0;

    // The drive last chosen ("C:", or "") and a new choice of it.
    virtual std::string LastDrive() = 0;
    virtual void DriveChosen(const std::string& D) = 0;
    // The purge speed test, offered on the drive chosen.
    virtual void TestPurgeSpeed() = 0;

    // The window's part in the wipe, in this order: its selection is
    // hidden; the wipe's is shown as `caption`; the whole drive (folder D:\,
    // all files, subfolders or not) is shown armed for the run; the run
    // goes on (the window's menus wait) and ends; the wipe has ended (ran:
    // its run took place), and the window shows the user's selection again.
    virtual void HideSelection() = 0;
    virtual void ShowWipeSelection(const std::string& caption) = 0;
    virtual void ShowWholeDrive(const std::string& folder, bool subfolders) = 0;
    virtual void RunGoing(bool going) = 0;
    virtual void WipeEnded(bool ran) = 0;
};
