// What a run needs of the windows around the report window: the windows
// it shows between files, and the few things it tells the window that
// started it. The main window, the command line and tests each give one.
#pragma once

#include <cstdint>
#include <string>

class frmAntiVirusQuery;
class frmFileOps;
class frmPurgeWarning;

class RunHost {
  public:
    virtual ~RunHost() = default;

    // The sensitive-extension table and the exclusion rules.
    virtual frmFileOps& FileOps() = 0;
    // The anti-virus query and advice before a watched file.
    virtual frmAntiVirusQuery& AntiVirusQuery() = 0;
    virtual frmPurgeWarning& PurgeWarning() = 0;

    // The per-file confirmation of `shownPath`, placed at (left, top): true
    // to purge the file. Its buttons may also stop the run or let it purge
    // the rest unasked, through the report window's blnStop and
    // blnPurgeRemainingFiles.
    virtual bool ConfirmFile(const std::string& shownPath, int left, int top) = 0;

    // The matching files directly in the folder being walked.
    virtual void FolderCounted(std::int32_t /*files*/) {}
    // The estimate the listing arrived at ("" while it runs).
    virtual void ShowEstimatedTime(const std::string& /*text*/) {}
};
