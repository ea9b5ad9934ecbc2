// A run as the program's windows describe it: the main window's selection
// and per-drive tables, the purge type chosen and the purge confirmation's
// options; and the windows a run shows, as the report window's RunHost.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/PurgeTypeChoice.h"
#include "purge/PurgeOptions.h"
#include "purge/PurgeRun.h"
#include "purge/RunHost.h"

class FormSet;
class frmMain;
struct SetupRecord;

// What the main window holds of the selection of input slot 0, and its
// per-drive tables; the command line holds the same for an operation file
// without a main window.
struct Selection {
    std::string strFolderPath;
    std::string strFileSpec;
    bool blnSubdirectories = false;
    bool blnConfirmFiles = false;
    std::array<std::int32_t, 26> lngClusterSizeByDrive{};
    std::array<float, 26> sngPurgeSpeed{};

    bool FilesSpecified() const { return !strFolderPath.empty() && !strFileSpec.empty(); }
};

// The run of a selection with the purge type and the options as last
// confirmed; the kind of run (list or purge) is left to the caller.
PurgeRun RunOfSelection(const Selection& selection, const PurgeTypeChoice& type,
                        const PurgeOptions& options);

// Puts the purge type and the option boxes of a setup in force, as loading
// the setup does: a type or a count of passes not on offer leaves `type` as
// it was; an option the setup does not hold leaves its box as it was.
void ApplySetupChoices(const SetupRecord& record, PurgeTypeChoice& type, PurgeOptions& boxes);
// The setup that a selection, the purge type and the option boxes make, as
// the window saves it with `version` recorded: what loading it puts back.
SetupRecord SetupOfSelection(const Selection& selection, const std::string& version,
                             const PurgeTypeChoice& type, const PurgeOptions& boxes);

// The main window's selection.
Selection MainSelection(const frmMain& main);
// The run of the main window's selection (RunOfSelection).
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
