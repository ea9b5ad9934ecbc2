// A run as the program's windows describe it: the main window's selection
// and per-drive tables, the purge type dialog's choice and the purge
// confirmation's options; and the windows a run shows, as the report
// window's RunHost.
#pragma once

#include "purge/PurgeRun.h"
#include "purge/RunHost.h"

class FormSet;

// The selection of input slot 0 with the purge type and the options as
// they stand; the kind of run (list or purge) is left to the caller.
PurgeRun SelectionRun(FormSet& forms);

class WindowRunHost : public RunHost {
  public:
    explicit WindowRunHost(FormSet& forms) : forms_(forms) {}

    frmFileOps& FileOps() override;
    frmAntiVirusQuery& AntiVirusQuery() override;
    frmPurgeWarning& PurgeWarning() override;
    bool ConfirmFile(const std::string& shownPath, int left, int top) override;
    // Told to the main window, when there is one.
    void FolderCounted(std::int32_t files) override;
    void ShowEstimatedTime(const std::string& text) override;

  private:
    FormSet& forms_;
};
