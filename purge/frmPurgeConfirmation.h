// The purge confirmation: the question before a purge, with its options.
//
// The main window sets strPurgeConfirmationMessage, strDriveLetter,
// blnSubdirectories and intNumFiles, runs Form_Activate and shows the
// dialog modally; blnConfirm then says whether
// the user confirmed. The check boxes keep their state between operations
// (and are what setup files store: Boxes, SetBoxes); the six option values
// are copied from them only when the user confirms (Confirmed). The
// cluster size chosen here replaces the estimate for the drive for the
// rest of the program's run.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "purge/PurgeOptions.h"
#include "ui/Form.h"

// The six option values it holds (PurgeOptions) are the ones last
// confirmed.
class frmPurgeConfirmation : public ui::Form, public PurgeOptions {
  public:
    frmPurgeConfirmation();
    // How many of these dialogs the program has made: the command line
    // makes one only where it asks the question.
    static int InstancesMade();

    bool blnConfirm = false;
    std::string strPurgeConfirmationMessage;
    std::string strDriveLetter;
    // The selection the question is about: with subfolders, or the number
    // of matching files in its folder, decide the button's wording and
    // which options are offered.
    bool blnSubdirectories = false;
    std::int32_t intNumFiles = 0;
    // The program's per-drive cluster sizes (indexed by drive letter - 'A'),
    // which a size chosen here replaces; the program sets it. Without one
    // nothing is kept between purges.
    std::array<std::int32_t, 26>* lngClusterSizeByDrive = nullptr;

    // The six check boxes as they stand, and set from a value.
    PurgeOptions Boxes() const;
    void SetBoxes(const PurgeOptions& boxes);
    // The six options as the user last confirmed them.
    PurgeOptions Confirmed() const;

    // The cluster size for a drive letter: the one chosen earlier in this
    // program's run, else the drive's estimate (which is then kept, and its
    // file system and size put into lblFileSystem).
    std::int32_t GetClusterSize(const std::string& driveLetter);

    // What the dialog does each time it is about to be shown.
    void Form_Activate();

    // Sizes in bytes of the entries of cboClusterSize, in their order.
    static const std::int32_t kClusterSizes[8];

    ui::Control& chkOKToPurgeSensitiveFiles;
    ui::Control& fraClusterSize;
    ui::Control& cboClusterSize;
    ui::Control& lblFileSystem;
    ui::Control& lblClusterSize;
    ui::Control& chkPurgeSlack;
    ui::Control& chkDeleteEmptyFolders;
    ui::Control& chkOKToPurgeReadOnlyFiles;
    ui::Control& chkFolderNamesOnly;
    ui::Control& chkDoNotDeletePurgedFiles;
    ui::Control& cmdCancel;
    ui::Control& cmdDoPurge;
    ui::Control& lblMessage;

  private:
    // Places every control by the widths and heights of their texts.
    void LayOut();
    void CheckBoxClicked(ui::Control& box);
    void cmdDoPurge_Click();
    void cmdCancel_Click();
};
