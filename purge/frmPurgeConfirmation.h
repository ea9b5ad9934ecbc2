// The purge confirmation: the question before a purge, with its options.
#pragma once

#include <string>

#include "ui/Form.h"

class frmPurgeConfirmation : public ui::Form {
public:
    frmPurgeConfirmation();

    bool blnConfirm = false;
    std::string strPurgeConfirmationMessage;
    std::string strDriveLetter;
    bool blnPurgeSlack = false;
    bool blnDoNotDeletePurgedFiles = false;
    bool blnOKToPurgeReadOnlyFiles = false;
    bool blnOKToPurgeSensitiveFiles = false;
    bool blnFolderNamesOnly = false;
    bool blnDeleteEmptyFolders = false;

    ui::Control& chkOKToPurgeSensitiveFiles;
    ui::Control& chkPurgeSlack;
    ui::Control& chkDeleteEmptyFolders;
    ui::Control& chkOKToPurgeReadOnlyFiles;
    ui::Control& chkFolderNamesOnly;
    ui::Control& chkDoNotDeletePurgedFiles;
};
