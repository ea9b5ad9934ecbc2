// The file-monitoring software query: asked once per operation, before the
// first file that such software watches is purged. blnNo is the answer No
// (no advice needed in this operation); Yes and "Don't know" lead to the
// purge advice (frmPurgeWarning).
#pragma once

#include "ui/Form.h"

class frmAntiVirusQuery : public ui::Form {
  public:
    frmAntiVirusQuery();

    bool blnNo = false;

    // What the dialog does each time it is about to be shown.
    void Form_Activate();

    ui::Control& Label1;
    ui::Control& cmdYes;
    ui::Control& cmdNo;
    ui::Control& cmdDontKnow;
};
