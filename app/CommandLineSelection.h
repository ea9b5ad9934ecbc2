// The command line's listing and purge of a selection, without the main
// window: the selection an operation file makes once loaded, and the run
// of it as the main window's "List files, estimate time" and "Purge files"
// would do it, with the same questions and messages.
#pragma once

#include <string>

#include "app/WindowRun.h"

class FormSet;

// The selection of a setup as loading it into the main window makes it:
// subfolders only where the folder has some, and nothing selected when
// the folder cannot be read (said as the window says it). The purge type
// is put in force in `type`, the purge confirmation's option boxes in
// `boxes`.
Selection SelectionOfSetup(const SetupRecord& record, PurgeTypeChoice& type, PurgeOptions& boxes);

// The listing and the purge of the selection (SelectionRuns.h) with no
// window's steps: a message box of no title of its own carries
// productName, and a cluster size chosen at the confirmation is kept in
// the selection's table. No purge was confirmed before a listing: it runs
// with none of the options; the purge confirmation is made only to ask
// before a purge, its boxes set from `boxes`.
void ListSelection(const Selection& selection, const PurgeTypeChoice& type, FormSet& windows,
                   const std::string& productName);
void PurgeSelection(Selection& selection, const PurgeTypeChoice& type, PurgeOptions& boxes,
                    FormSet& windows);
