// The excluded folders of a disk wipe: up to 100 folders of the drive that
// the wipe leaves alone, and whether it keeps the files at the drive's top
// level. The disk wipe opens the dialog once per wipe (PrepareOpening, then
// ShowModal); the purge run reads the list (IthExcludedFolder) and the
// check box (chkKeepTopFiles) while the wipe's run is in progress.
//
// The list lives for one wipe: every opening starts with an empty list,
// while the check box keeps its state from one wipe to the next.
//
// A folder is kept by what it is, not by its name: when it is added it is
// found below the drive's root folder that the wipe holds open, and its
// identity is recorded. The run keeps the folder of that identity wherever
// it has been moved to meanwhile, and a folder made later under the old
// name is an ordinary folder of the drive. Identities also decide what is
// refused: the root in any spelling ("D:", "d:/", "D:\keep\.."), a folder
// already listed, or one inside a listed folder.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FolderHandle.h"
#include "ui/Form.h"

class frmExcludedFolders : public ui::Form {
  public:
    frmExcludedFolders();

    static constexpr int kMaxExcludedFolders = 100;

    std::int16_t intNumExcludedFolders = 0;
    // The letter of the drive being wiped (one upper-case character), set
    // by the disk wipe before PrepareOpening.
    std::string strDriveLetter;
    // The root folder of that drive as the disk wipe opened it when the
    // drive was chosen; folders are found below it. Null: the dialog opens
    // the drive's root itself.
    std::shared_ptr<platform::FolderHandle> driveFolder;
    // Folders refused since the dialog was opened (the command-line mode
    // never wipes when one of the folders it was given was refused).
    int intRefusals = 0;

    // The folder at position intI (1 to intNumExcludedFolders); "" for a
    // later position. Positions outside 0 to 100 are a caller's error.
    std::string IthExcludedFolder(std::int16_t intI) const;
    // The folders of the list as they were when added.
    std::vector<platform::FileIdentity> ExcludedIdentities() const;

    // What every opening does before the dialog is shown: an empty list,
    // the introduction and the check box's caption for strDriveLetter (the
    // wipe places the dialog beside the window it started from).
    void PrepareOpening();

    ui::Control& lblIntro;
    ui::Control& txbExcludedFolders;
    ui::Control& cmdAddFolder;
    ui::Control& cmdRemoveLastFolder;
    ui::Control& chkKeepTopFiles;
    ui::Control& cmdClose;

  protected:
    // Positions 1 to 100 hold folders; position 0 is never filled.
    std::array<std::string, kMaxExcludedFolders + 1> strExcludedFolder_;
    std::array<platform::FileIdentity, kMaxExcludedFolders + 1> identities_;

  private:
    void cmdAddFolder_Click();
    void cmdRemoveLastFolder_Click();
    // Why folder f cannot be added ("" when it can), as the message says
    // it; otherwise the folder it names.
    std::string WhyNotAdded(const std::string& f, platform::FileIdentity& folder) const;
    void ShowState();
    // Room for the introduction as the desktop's font wraps it; the list,
    // the buttons and the check box below it.
    void LayOut();

    std::string strIntro_;  // composed once, with the first wipe's letter
};
