// The report window: runs listings and purges and shows their report, a
// growing plain text, while they run.
#pragma once

#include <cstdint>
#include <string>

#include "ui/Form.h"

class frmReport : public ui::Form {
public:
    frmReport();

    // Public values of a run.
    bool blnListFiles = false;
    bool blnPurgeFiles = false;
    bool blnStop = false;
    bool blnPurgeRemainingFiles = false;
    bool blnDisplayFolderNames = false;
    bool blnDisplayFileNames = false;
    std::int32_t lngSecondsElapsed = 0;
    std::int32_t lngNumFilesPurged = 0;
    std::string strNextDirPath;
    std::string strCurrentFileSpec;

    ui::Control& cmdPauseContinue;
    ui::Control& cmdCopyToClipboard;
    ui::Control& cmdStop;
    ui::Control& cmdClose;
    ui::Control& txbText;
    ui::Control& lblDots;
    ui::Control& lblPausedDone;
};
