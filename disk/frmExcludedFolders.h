// The excluded folders of a disk wipe: up to 100 folders of the drive that
// the wipe leaves alone, and whether it keeps the files at the drive's top
// level. The purge run reads them (IthExcludedFolder, chkKeepTopFiles)
// while a wipe's run is in progress.
//
// This first version holds the values and controls that the purge run
// reads; the dialog's own behaviour comes with the disk wipe.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/Form.h"

class frmExcludedFolders : public ui::Form {
  public:
    frmExcludedFolders();

    static constexpr int kMaxExcludedFolders = 100;

    std::int16_t intNumExcludedFolders = 0;
    std::string strDriveLetter;

    // The folder at position intI (1 to intNumExcludedFolders); "" for a
    // later position. Positions outside 0 to 100 are a caller's error.
    std::string IthExcludedFolder(std::int16_t intI) const;

    ui::Control& lblIntro;
    ui::Control& txbExcludedFolders;
    ui::Control& cmdAddFolder;
    ui::Control& cmdRemoveLastFolder;
    ui::Control& chkKeepTopFiles;
    ui::Control& cmdClose;

  protected:
    // Positions 1 to 100 hold folders; position 0 is never filled.
    std::array<std::string, kMaxExcludedFolders + 1> strExcludedFolder_;
};
