// The main window's two runs over the selection: "List files, estimate
// time" (ListSelectedFiles) and "Purge files" (PurgeSelectedFiles), both
// started by the menu button array cmdProcessFiles (element 2 and 1), and
// the question the purge confirmation asks (BuildPurgeQuestion).
//
// They run the listing and the purge of the selection of input slot 0
// (SelectionRuns.h) with the steps the main window adds: its menus, the
// placement of the dialogs, and its own fields.
#pragma once

#include <cstdint>
#include <string>

class frmMain;
class frmReport;
struct Selection;

void ListSelectedFiles(frmMain& main);
void PurgeSelectedFiles(frmMain& main);
// "Are you sure that you want to purge ..." for a selection of n matching
// files in its folder.
std::string PurgeQuestion(const Selection& selection, bool multipleFiles, std::int32_t n);
// The same for the main window's selection; also stores
// the number of matching files in the main window's intNumFiles.
std::string BuildPurgeQuestion(frmMain& main);
// "File NAME not found.", or why a name in the folder that is no regular
// file (a symbolic link, a FIFO) is not purged.
std::string NoSuchFileMessage(const std::string& folder, const std::string& name);
// Why a selection without subfolders has nothing to list or to purge.
std::string NoFilesToListMessage(const Selection& selection);
std::string NoFilesToPurgeMessage(const Selection& selection);
// The report window's caption for a listing of a selection.
std::string ListingCaption(const Selection& selection);
// Shows the report window (not modal) at its own width, where it stands.
void ShowReport(frmReport& report);
