// The purge advice shown before a single-file purge.
#pragma once

#include <string>

#include "ui/Form.h"

class frmPurgeWarning : public ui::Form {
public:
    frmPurgeWarning();

    bool blnShowPurgeWarning = false;
    bool blnStopPurge = false;
    std::string strPurgeFilePath;
};
