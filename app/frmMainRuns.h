// The main window's two runs over the selection: "List files, estimate
// time" (ListSelectedFiles) and "Purge files" (PurgeSelectedFiles), both
// started by the menu button array cmdProcessFiles (element 2 and 1), and
// the question the purge confirmation asks (BuildPurgeQuestion).
//
// They are procedures of the main window that build the run of the
// selection of input slot 0 (SelectionRun) and hand it to the report
// window's ProcessFiles.
#pragma once

#include <string>

class frmMain;

// The listing shows folder names, file names, or both.
void ListSelectedFiles(frmMain& main, bool displayFolderNames, bool displayFileNames);
void PurgeSelectedFiles(frmMain& main);
// "Are you sure that you want to purge ..." for the selection; also stores
// the number of matching files in the main window's intNumFiles.
std::string BuildPurgeQuestion(frmMain& main);
// "File NAME not found.", or why a name in the folder that is no regular
// file (a symbolic link, a FIFO) is not purged.
std::string NoSuchFileMessage(const std::string& folder, const std::string& name);
// Shows the report window (not modal) beside the main window.
void ShowReportBesideMain(frmMain& main);
