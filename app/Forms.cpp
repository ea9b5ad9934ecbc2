#include "app/Forms.h"

#include <stdexcept>

#include "app/frmConfirmFiles.h"
#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "app/frmTypeOfPurge.h"
#include "disk/frmExcludedFolders.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmFileOps.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmPurgeWarning.h"
#include "purge/frmReport.h"
#include "support/ProgramText.h"

namespace {
FormSet*& InForce() {
    static FormSet* set = nullptr;
    return set;
}

template <typename Window>
Window& CreatedOnFirstUse(std::unique_ptr<Window>& slot) {
    if (!slot) slot = std::make_unique<Window>();
    return *slot;
}
}  // namespace

FormSet::FormSet() {
    InForce() = this;
    // The program texts ask whether the main window in force has started.
    SetStartupCompletedSource([] {
        return InForce() != nullptr && InForce()->StartupCompleted();
    });
}

bool FormSet::StartupCompleted() const {
    return startupCompleted_ || (main_ != nullptr && main_->blnStartupCompleted);
}

FormSet::~FormSet() {
    if (InForce() == this) InForce() = nullptr;
}

frmMain& FormSet::Main() {
    if (!main_) {
        CreatedOnFirstUse(main_);
        Wire();
    }
    return *main_;
}
frmReport& FormSet::Report() {
    if (!report_) {
        CreatedOnFirstUse(report_);
        Wire();
    }
    return *report_;
}
frmTypeOfPurge& FormSet::TypeOfPurge() { return CreatedOnFirstUse(typeOfPurge_); }
frmPurgeConfirmation& FormSet::PurgeConfirmation() {
    if (!purgeConfirmation_) {
        CreatedOnFirstUse(purgeConfirmation_);
        Wire();
    }
    return *purgeConfirmation_;
}
frmPurgeWarning& FormSet::PurgeWarning() { return CreatedOnFirstUse(purgeWarning_); }
frmSpecifyFiles& FormSet::SpecifyFiles() { return CreatedOnFirstUse(specifyFiles_); }
frmConfirmFiles& FormSet::ConfirmFiles() { return CreatedOnFirstUse(confirmFiles_); }
frmAntiVirusQuery& FormSet::AntiVirusQuery() { return CreatedOnFirstUse(antiVirusQuery_); }
frmFileOps& FormSet::FileOps() { return CreatedOnFirstUse(fileOps_); }
frmExcludedFolders& FormSet::ExcludedFolders() { return CreatedOnFirstUse(excludedFolders_); }
frmSpecifyDrive& FormSet::SpecifyDrive() { return CreatedOnFirstUse(specifyDrive_); }
frmFillDisk& FormSet::FillDisk() { return CreatedOnFirstUse(fillDisk_); }

void FormSet::Wire() {
    if (report_) {
        report_->ClockSwitch = [this](bool enabled) {
            if (main_) main_->Clock.SetEnabled(enabled);
        };
    }
    if (purgeConfirmation_ && main_) {
        purgeConfirmation_->lngClusterSizeByDrive = &main_->lngClusterSizeByDrive;
    }
}

FormSet& Forms() {
    if (InForce() == nullptr) throw std::logic_error("no set of windows is in force");
    return *InForce();
}
