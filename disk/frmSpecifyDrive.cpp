#include "disk/frmSpecifyDrive.h"

#include <algorithm>

#include "disk/DiskProc.h"
#include "platform/DriveInfo.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "ui/Ui.h"

using ui::ControlKind;

namespace {

std::string& LastError() {
    static std::string why;
    return why;
}

// A colour given as red + green * 256 + blue * 65536, as 0xRRGGBB.
int RgbOf(std::int32_t colour) {
    int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}

enum class Usability { Usable, NotFixedOrRemovable, Removable };

// How the platform classes the drive: by its drive object when that could
// be opened, otherwise by the type of its path.
Usability UsabilityOf(int openError, const platform::DriveObject& drive,
                      const std::string& designation) {
    if (openError == 0) {
        switch (drive.driveType) {
            case platform::kObjectFixed:
            case platform::kObjectRamDisk:
                return Usability::Usable;
            case platform::kObjectRemovable:
                return Usability::Removable;
            default:
                return Usability::NotFixedOrRemovable;
        }
    }
    switch (platform::Drive().DriveType(designation.substr(0, 2) + "\\")) {
        case platform::kDriveFixed:
        case platform::kDriveRamDisk:
            return Usability::Usable;
        case platform::kDriveRemovable:
            return Usability::Removable;
        // A drive the platform cannot type at all is not ruled out here:
        // the error of opening it says more.
        case platform::kDriveUnknown:
        case platform::kDriveNoRootDir:
            return Usability::Usable;
        default:
            return Usability::NotFixedOrRemovable;
    }
}

}  // namespace

frmSpecifyDrive::frmSpecifyDrive()
    : Form("frmSpecifyDrive"),
      Drive(Add(ControlKind::ComboBox, "Drive", "", 240, 240, 4200, 315)),
      Dir(Add(ControlKind::ListBox, "Dir", "", 240, 660, 4200, 1800)),
      cmdAccept(Add(ControlKind::Button, "cmdAccept", "Accept", 4680, 240, 1300, 375)),
      cmdCancel(Add(ControlKind::Button, "cmdCancel", "Cancel", 4680, 720, 1300, 375)) {
    SetCaption("Specify disk drive");
    Resize(6300, 2800);
    Drive.Change = [this] { Drive_Change(); };
    cmdAccept.Click = [this] {
        blnAccept = true;
        Hide();
    };
    cmdCancel.Click = [this] {
        blnAccept = false;
        Hide();
    };
    OnClose = [this] { cmdCancel.RaiseClick(); };
    OnActivate = [this] { cmdCancel.SetFocus(); };
}

void frmSpecifyDrive::ListDrives() {
    Drive.ClearItems();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!platform::Drives().IsMapped(letter)) continue;
        std::string item(1, char(letter - 'A' + 'a'));
        Drive.AddItem(item + ":  " + VisibleText(platform::Drives().Root(letter)));
    }
}

std::string frmSpecifyDrive::CurrentDrive() const {
    int index = Drive.Value();
    if (index < 0 || index >= static_cast<int>(Drive.Items().size())) return "";
    return Drive.Items()[index].substr(0, 2);
}

bool frmSpecifyDrive::SetCurrentDrive(const std::string& designation) {
    char letter = platform::DriveLetterOf(designation);
    for (std::size_t i = 0; letter != 0 && i < Drive.Items().size(); ++i) {
        if (platform::DriveLetterOf(Drive.Items()[i]) == letter) {
            Drive.SetValue(static_cast<int>(i));
            return true;
        }
    }
    return false;
}

bool frmSpecifyDrive::ShowFoldersOfDrive(std::string& why) {
    Dir.ClearItems();
    const std::string root = CurrentDrive() + "\\";
    auto folder = platform::Files().OpenFolder(root, &why);
    auto entries = folder ? folder->Read(&why) : std::nullopt;
    if (!entries) return false;
    Dir.AddItem(root);
    for (const auto& entry : *entries) {
        if (entry.kind == platform::EntryKind::Folder) Dir.AddItem("  " + VisibleText(entry.name));
    }
    return true;
}

void frmSpecifyDrive::Drive_Change() {
    if (!Visible()) return;
    std::string why;
    if (ShowFoldersOfDrive(why)) {
        cmdAccept.SetFocus();
        return;
    }
    ui::TheUi().MsgBox(why, ui::Buttons::OK, ui::Icon::Exclamation, "Error");
    SetCurrentDrive(FirstFixedDrive());
    ShowFoldersOfDrive(why);
    cmdCancel.SetFocus();
}

std::int16_t SelectDrive(frmSpecifyDrive& dialog, int intTop, int intleft, int intHeight,
                         std::int32_t lngBackColor, std::string& strDrive, double& dblFreeSpace,
                         double& dblTotalBytes) {
    dialog.ListDrives();
    if (!dialog.SetCurrentDrive(strDrive)) {
        strDrive = FirstFixedDrive();
        dialog.SetCurrentDrive(strDrive);
    }
    std::string why;
    dialog.ShowFoldersOfDrive(why);
    dialog.MoveTo(intleft, intTop);
    dialog.Resize(dialog.Width(), std::max(intHeight, 2800));
    dialog.SetColors(RgbOf(lngBackColor), 0xFFFFFF);
    dialog.blnAccept = false;
    dialog.ShowModal();
    if (!dialog.blnAccept) return kDriveCancelled;

    strDrive = dialog.CurrentDrive();
    platform::DriveObject drive;
    const std::int32_t error = OpenDriveObject(strDrive, drive);
    const Usability usability = UsabilityOf(error, drive, strDrive);
    if (usability == Usability::NotFixedOrRemovable) return kDriveNotFixedOrRemovable;
    if (error != 0) {
        if (usability == Usability::Removable && error == platform::kErrorDiskNotReady) {
            return kDriveNoDisk;
        }
        LastError() =
            error == platform::kErrorDiskNotReady ? "Disk not ready" : "Device unavailable";
        return kDriveOtherError;
    }
    GetDiskSpace(strDrive, dblFreeSpace, dblTotalBytes);
    return kDriveAccepted;
}

const std::string& SelectDriveError() { return LastError(); }

std::string SelectDriveMessage(std::int16_t code, const std::string& drive) {
    switch (code) {
        case kDriveNotFixedOrRemovable:
            return "The disk in Drive " + drive + " is not " + "a fixed or removable disk.";
        case kDriveNoDisk:
            return "There is no disk in Drive " + drive + ".";
        case kDriveOtherError:
            return "Error " + std::to_string(code) + " (" + SelectDriveError() + ") for Drive " +
                   drive + ".";
        default:
            return "";
    }
}
