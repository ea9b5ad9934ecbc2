// The drive selection dialog: the user picks the drive for the purge speed
// test or the disk wipe, and SelectDrive checks that the drive can be used
// and measures its free space and size. Both callers go through
// SelectDrive and phrase its result codes themselves (SelectDriveMessage).
//
// The drive list shows the drives of the drive table, each as its letter
// and colon followed by the folder it stands for; the drive it gives is the
// letter and colon alone ("c:"), lower case as the list writes it.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Form.h"

class frmSpecifyDrive : public ui::Form {
  public:
    frmSpecifyDrive();

    // True when the dialog was closed with Accept.
    bool blnAccept = false;

    // The current drive of the drive list ("c:"), or "" when it has none.
    std::string CurrentDrive() const;
    // Makes the drive a designation starts with the current one; false
    // when the list has no such drive.
    bool SetCurrentDrive(const std::string& designation);
    // Fills the drive list with the drives there are now.
    void ListDrives();
    // Shows the folders of the current drive; false (with the reason)
    // when its root folder cannot be read.
    bool ShowFoldersOfDrive(std::string& why);

    ui::Control& Drive;
    ui::Control& Dir;
    ui::Control& cmdAccept;
    ui::Control& cmdCancel;

  private:
    void Drive_Change();
};

// Result codes of SelectDrive.
constexpr std::int16_t kDriveAccepted = 0;
constexpr std::int16_t kDriveCancelled = -1;
constexpr std::int16_t kDriveNotFixedOrRemovable = -2;
constexpr std::int16_t kDriveNoDisk = -3;
constexpr std::int16_t kDriveOtherError = -4;

// Shows the dialog (the program's one) at the given place and colour with strDrive preselected
// (the first fixed drive when that drive does not exist) and examines the
// drive chosen:
//   0  accepted and usable; dblFreeSpace (bytes this program may write) and
//      dblTotalBytes are set;
//  -1  cancelled; strDrive holds the preselected drive (or the first fixed
//      drive that replaced it);
//  -2  the drive is not a fixed or removable disk (a RAM disk counts as
//      fixed: deleted data lies there as well);
//  -3  a removable drive without a medium;
//  -4  any other error while examining the drive (SelectDriveError()).
// With every code but -1 strDrive holds the chosen drive. Only with 0 are
// the sizes written; otherwise they keep what was passed.
std::int16_t SelectDrive(frmSpecifyDrive& dialog, int intTop, int intleft, int intHeight,
                         std::int32_t lngBackColor, std::string& strDrive, double& dblFreeSpace,
                         double& dblTotalBytes);

// The description of the error behind the last -4 ("" when none is known).
const std::string& SelectDriveError();

// What the callers say for codes -2, -3 and -4 ("" for the others); drive
// as the callers show it (upper case).
std::string SelectDriveMessage(std::int16_t code, const std::string& drive);
