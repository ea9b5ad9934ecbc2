// The purge type dialog: one of three overwrite schemes and its number of
// passes.
//
// Each type has its own list of pass counts and its own selection, so
// switching types shows the count last chosen for each. The dialog lives
// for the whole run of the window; its selection is the window's purge
// type, handed to a run as a PurgeTypeChoice (Choice). The command line
// keeps that value itself and never makes the dialog.
#pragma once

#include "app/PurgeTypeChoice.h"
#include "ui/Form.h"

class frmTypeOfPurge : public ui::Form {
public:
    frmTypeOfPurge();

    static constexpr int kNumTypes = kNumPurgeTypes;

    // How many of these dialogs this process has made.
    static int InstancesMade();

    int intMinNumPasses = 0;
    int intMaxNumPasses = 0;

    // Builds the three pass lists and selects type code 1 with each type's
    // default passes (9, 6, 3).
    void Initialization();
    // Type code 0, 1 or 2.
    int GetPurgeType() const;
    int GetNumberOfPasses() const;
    int GetNumOverwrites() const;
    // The type and passes selected now.
    PurgeTypeChoice Choice() const { return {GetPurgeType(), GetNumberOfPasses()}; }

    // Selects a type and its pass count from a stored setup. False, and
    // nothing changed, when the type or the count is not on offer.
    bool SelectTypeAndPasses(int purgeType, int passes);
    bool SelectTypeAndPasses(const PurgeTypeChoice& choice) {
        return SelectTypeAndPasses(choice.purgeType, choice.passes);
    }

    // As the dialog becomes active it remembers the type, so that Cancel
    // can restore it, and shows that type's list.
    void Form_Activate();

    ui::Control& optPurgeType(int i) const { return (*this)("optPurgeType", i); }
    ui::Control& lblPurgeType(int i) const { return (*this)("lblPurgeType", i); }
    ui::Control& cboNumberOfPasses(int i) const { return (*this)("cboNumberOfPasses", i); }
    ui::Control& lblNumberOfTimes;
    ui::Control& lblDOD;
    ui::Control& cmdAccept;
    ui::Control& cmdCancel;

private:
    void CreateControls();
    void ShowPassesList();
    void cmdAccept_Click();
    void cmdCancel_Click();

    int savedType_ = 1;
};
