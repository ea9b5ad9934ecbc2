// The per-file confirmation that a purge run shows for each file while
// confirmation is on.
#pragma once

#include "ui/Form.h"

class frmConfirmFiles : public ui::Form {
public:
    frmConfirmFiles();

    bool blnFileConfirmed = false;

    ui::Control& cmdYesAndDontShowAgain;
    ui::Control& cmdStopPurge;
    ui::Control& cmdNo;
    ui::Control& cmdYes;
    ui::Control& lblFile;
    ui::Control& lblPurgeThisFile;

private:
    void CreateControls();
};
