// The purge advice: before a file that file-monitoring software watches is
// overwritten, it tells the user what such software may do and offers to
// cancel the purge (blnStopPurge) or to show no more advice in this
// operation (blnShowPurgeWarning, set True at start-up).
#pragma once

#include <string>

#include "ui/Form.h"

class frmPurgeWarning : public ui::Form {
  public:
    frmPurgeWarning();

    bool blnShowPurgeWarning = false;
    bool blnStopPurge = false;
    std::string strPurgeFilePath;
    // Set by the run that shows the advice: only a purge can be cancelled.
    bool blnPurgeRunning = false;

    // What the dialog does each time it is about to be shown.
    void Form_Activate();

    ui::Control& lblMessage;
    ui::Control& chkDontShowAgain;
    ui::Control& cmdOK;
    ui::Control& cmdStopPurge;
};
