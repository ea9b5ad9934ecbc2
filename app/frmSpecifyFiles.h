// The file specification dialog: which files of the chosen folder an
// operation covers — one file, all files, all files with an extension, or
// the files matching a wildcard specification.
#pragma once

#include <string>

#include "ui/Form.h"

class frmSpecifyFiles : public ui::Form {
public:
    frmSpecifyFiles();

    bool blnBold = false;
    bool blnAccept = false;
    std::int32_t intNumFiles = 0;
    std::string strOperation;
    // The folder whose files the list shows (a drive path ending in "\").
    std::string strFolder;
    // The specification the main window shows: the dialog opens on it.
    std::string strCurrentFileSpec;

    // Runs as the dialog becomes active: fresh texts, option captions from
    // strOperation, and the single-file choice only when there are files.
    void Form_Activate();
    // The specification chosen, from the selected option; "" when none.
    std::string ChosenFileSpec() const;

    ui::Control& txbExtension;
    ui::Control& optExtension;
    ui::Control& optAllFiles;
    ui::Control& optMultipleFiles;
    ui::Control& optSingleFile;
    ui::Control& cmdAccept;
    ui::Control& cmdCancel;
    ui::Control& txbFilespec;
    ui::Control& File;

private:
    void CreateControls();
    void RefreshFileList();
    void ShowCurrentFileSpec(bool haveFiles);
    void cmdAccept_Click();
};
