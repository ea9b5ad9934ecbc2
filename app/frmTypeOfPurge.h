// The purge type dialog: one of three overwrite schemes and its passes.
#pragma once

#include "ui/Form.h"

class frmTypeOfPurge : public ui::Form {
public:
    frmTypeOfPurge();

    int intMinNumPasses = 0;
    int intMaxNumPasses = 0;

    // Sets the dialog's starting selections.
    void Initialization();
    int GetPurgeType() const;
    int GetNumberOfPasses() const;
    int GetNumOverwrites() const;
};
