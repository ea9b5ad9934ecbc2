// The listing and the purge of a selection, each one order of steps for
// the main window ("List files, estimate time", "Purge files") and the
// command line (--list, --purge): the question or refusal before the run,
// the purge confirmation, the run built from the selection and run in the
// report window. What only a window does besides comes in through
// SelectionRunSteps.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/WindowRun.h"

class FormSet;
class frmPurgeConfirmation;
class frmReport;

// The steps a window adds to a listing or purge of its selection. Each
// does nothing unless overridden, which is all the command line needs.
class SelectionRunSteps {
  public:
    virtual ~SelectionRunSteps() = default;

    // Once no refusal stopped the run: before the purge confirmation or
    // the report window opens.
    virtual void Begin() {}
    // After the run, or after the purge was cancelled.
    virtual void End() {}

    // Where the purge confirmation finds and keeps the cluster sizes it
    // offers: the selection's own table, or one that outlives the run.
    virtual std::array<std::int32_t, 26>& ClusterSizeTable(Selection& selection) {
        return selection.lngClusterSizeByDrive;
    }
    // The purge confirmation with its question set, just before it shows.
    virtual void ConfirmationOpening(frmPurgeConfirmation& /*confirmation*/) {}
    // The report window with its caption set, just before it shows.
    virtual void ReportOpening(frmReport& /*report*/) {}
    // The run as built from the selection, before it starts.
    virtual void RunReady(PurgeRun& /*run*/) {}
    // After a purge that ran, stopped or not.
    virtual void Purged(const PurgeRun& /*run*/, const RunOutcome& /*outcome*/) {}
};

// Lists the selection with the purge type `type` and the options as last
// confirmed in the report window of `windows`, asking first whether to show
// folder names when it has subfolders; a message box of no title of its own
// carries productName.
void ListSelection(const Selection& selection, const PurgeTypeChoice& type,
                   const PurgeOptions& confirmed, FormSet& windows, const std::string& productName,
                   SelectionRunSteps& steps);
// Asks the purge confirmation, its boxes set from `boxes`, and purges the
// selection with the purge type `type` and the options confirmed there, in
// the report window of `windows`. The boxes as the user left them, and the
// cluster sizes the confirmation keeps, are `boxes` and the selection's
// afterwards.
void PurgeSelection(Selection& selection, const PurgeTypeChoice& type, PurgeOptions& boxes,
                    FormSet& windows, SelectionRunSteps& steps);
