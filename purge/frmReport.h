// The report window: runs listings and purges (ProcessFiles) and shows
// their report, a growing plain text, while they run.
//
// The main window's listing and purge (which the command line also uses)
// and the disk wipe each build the run's value (PurgeRun) and hand it to ProcessFiles with
// the windows the run may show (RunHost); it returns when the run has
// ended, with its counts. The run lets window events through between files and passes
// (CheckPauseAndStop), which is when Pause, Stop and Close take effect.
//
// The report lives in the window's own buffer (ReportText); the text box
// txbText is brought up to date at the end of every file, by the main
// window's one-second Clock, when the run pauses or asks a question, and at
// its end. Only the text that changed since the last time is passed on, so
// a run of 100,000 files stays linear. ReportText() is always the whole
// report.
//
// The walk (ListFolder, PurgeFolder) takes a folder's own files before its
// subfolders, each in the order the file system returns them. It holds the
// folder it is in open and acts only through it: a subfolder is opened from
// its parent by its one name, and only while it is still the folder that
// was listed, and a file is purged only while it is still the file that was
// looked at, so nothing renamed, linked or mounted in the tree while the
// run goes on can lead it outside. Its levels are a FolderTrail, never the
// call stack, so no depth of tree ends a run. What the walk leaves
// (WalkRules.h) is written in the report as not listed or not purged, and
// counted in
// NumEntriesSkipped(). Names are shown with control characters escaped,
// in lower case only on a file system blind to case; every file operation uses the name as the file system
// spells it, so "Secret.txt" never stands for "secret.txt".
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "purge/FolderTrail.h"
#include "purge/PurgeBatch.h"
#include "purge/PurgeRun.h"
#include "purge/ReportText.h"
#include "purge/RunHost.h"
#include "ui/Form.h"

class frmReport : public ui::Form {
  public:
    frmReport();

    // Public values of a run under way.
    bool blnStop = false;
    bool blnPurgeRemainingFiles = false;
    std::int32_t lngSecondsElapsed = 0;
    std::int32_t lngNumFilesPurged = 0;

    // Turns the window that counts the run's seconds on or off; the
    // program sets it (nothing is counted without one).
    std::function<void(bool)> ClockSwitch;

    // Runs one listing or purge, as run.blnPurgeFiles chooses, from
    // run.strNextDirPath with run.strCurrentFileSpec; returns when it has
    // ended. The run reads no window but this one and those of `host`.
    RunOutcome ProcessFiles(const PurgeRun& run, RunHost& host);
    // The value of the last run, kept after it has ended without the
    // folder it held and the fill's record.
    const PurgeRun& Run() const { return run_; }
    // The folder the last run started from (its value's folder moves down
    // the tree as the run goes).
    const std::string& StartFolder() const { return startFolder_; }

    // Appends to the report unless the purge confirmation asked for folder
    // names only or the report is suspended. With scroll, the caret goes to
    // the end at the next refresh of the text box.
    void AddReportText(const std::string& text, bool scroll = true);
    // Appends a note after the run's end (what a wipe did after its run),
    // whatever the report options, shows it and copies the report again.
    void AppendNote(const std::string& text);
    // Lets pending events through, then waits here while the run is paused.
    void CheckPauseAndStop();
    // The report has reached its capacity: ends the report (a purge goes on
    // without per-file text; a listing stops).
    void ReportBufferFull();
    // Captions and widths of Pause/Continue and Stop for the kind of run.
    void SetRunButtons();

    // The whole report as it stands.
    const std::string& ReportText() const { return report_.Text(); }
    // Brings the text box up to date now (only what is new), caret at the end.
    void ShowReportText();

    // Counters of the last run.
    std::int32_t NumFilesProcessed() const { return lngNumFilesProcessed; }
    // The folder whose files the run is going through ("" before the first).
    const std::string& CurrentFolder() const { return currentFolder_; }
    double TotalFileBytes() const { return dblTotalFileBytes; }
    // Matching entries the run could not take: symbolic links, FIFOs and
    // devices, files that vanished, folders that could not be read or lie on
    // another file system.
    std::int32_t NumEntriesSkipped() const { return lngNumEntriesSkipped; }
    bool Paused() const { return blnPaused; }
    bool ReportSuspended() const { return blnReportSuspended; }

    // Event handlers.
    void cmdPauseContinue_Click();
    void cmdStop_Click();
    void cmdClose_Click();
    void cmdCopyToClipboard_Click();
    void txbText_MouseUp(ui::MouseButton button);
    void Form_Activate();

    ui::Control& cmdPauseContinue;
    ui::Control& cmdCopyToClipboard;
    ui::Control& cmdStop;
    ui::Control& cmdClose;
    ui::Control& txbText;
    ui::Control& lblDots;
    ui::Control& lblPausedDone;

  private:
    // The walks of a listing and of a purge (see above), from the folder a
    // drive path names; only within ProcessFiles, which gives them their run.
    void ListFolder(std::string folder, const std::string& fileSpec);
    void PurgeFolder(std::string folder, std::string fileSpec, bool purgeSlack);

    // The run's frame.
    void StartRun();
    void EndRun();
    void RestoreFullLayout();
    void ShrinkToReport();
    void PlacePauseContinue();
    void PlaceStatusBelowTopOf(const ui::Control& button);
    void SetClockEnabled(bool enabled);

    // Appends unless the report has been ended (full, or suspended). When
    // the text does not fit, a purge suspends its report and goes on; a
    // listing gets ReportText::Full, which ends its walk.
    void Append(const std::string& text);
    // The report's last lines, appended even when it is full.
    void AppendAnyway(const std::string& text);
    // Appends `text` as a line of its own: on a new line (a line end is
    // added first when the report does not end with one) and ending with
    // one, so that no two messages of a run share a line.
    void AppendOwnLine(const std::string& text);
    bool AtLineStart() const;

    // Listing.
    void WriteListingSummary();
    void WriteEstimate();

    // Purge.
    void WritePurgeHeader();
    void WritePurgeSummary();
    // The walks from an open folder; `folder` is its drive path, for people.
    // Each keeps its levels in a FolderTrail, never on the call stack.
    void ListFolderAt(platform::FolderHandle& dir, std::string folder, const std::string& fileSpec);
    void PurgeFolderAt(platform::FolderHandle& dir, std::string folder, std::string fileSpec,
                       bool purgeSlack);
    // The files of the folder just entered, which are read into its level;
    // false when the walk is done with the folder (excluded, unreadable,
    // stopped) and enters none of its subfolders.
    bool ListFilesOf(FolderTrail::Level& level, const std::string& folder,
                     const std::string& fileSpec);
    bool PurgeFilesOf(FolderTrail::Level& level, const std::string& folder, std::string fileSpec,
                      bool purgeSlack, double bytesPerSecond);
    // Goes down into the next subfolder of the current folder that can be
    // entered; each one left on the way gets its line, saying it is not
    // `notDone` ("listed", "purged"). False when there is none left.
    bool EnterNextSubfolder(FolderTrail& trail, const std::string& notDone);
    // Back in a folder that could not be opened again (FolderTrail): says
    // so and gives true; the walk is then done with it.
    bool CameBackToLostFolder(FolderTrail& trail, const std::string& notDone);
    // What a line about a folder that is not entered starts with.
    std::string StartOfSkippedFolderLine() const;
    // Back in the current folder from its subfolder `sub`: removes it when
    // the purge emptied it. False when the run was stopped in it.
    bool FinishSubfolder(FolderTrail& trail, std::unique_ptr<platform::FolderHandle> sub);
    // False when the run must end at once (Cancel in the purge query, or
    // the purge cancelled from the advice).
    bool PurgeOneFile(platform::FolderHandle& dir, const std::string& folder,
                      const platform::FolderEntry& file, bool purgeSlack, double bytesPerSecond);
    // The end of a file's line: purged, or why not (`shownName` as the
    // report shows the file's name).
    void SayHowThePurgeEnded(const std::string& shownName, const std::string& path, bool overwritten,
                             bool purged, bool slackNotReached, double length,
                             std::int16_t code);
    // The length of a file that can be purged with others of its folder,
    // looked at now; nullopt for one that must go alone.
    std::optional<double> LengthIfBatchable(platform::FolderHandle& dir,
                                            const std::string& folder,
                                            const platform::FolderEntry& file,
                                            double bytesPerSecond);
    // Purges and reports the files gathered, then pauses or stops as after
    // each file; false when the run stops.
    bool PurgeBatchedFiles(platform::FolderHandle& dir, const std::string& folder,
                           bool purgeSlack);
    // The anti-virus query and advice before a watched file; true when the
    // user cancelled the purge from the advice shown now.
    bool ShowAntiVirusAdvice(const std::string& path);
    // Removes the subfolder `name` of `parent`, found empty after its walk.
    void RemoveEmptiedFolder(platform::FolderHandle& parent, const std::string& name,
                             const platform::FileIdentity& identity, const std::string& path);

    // Counts a folder's entries whose names match the specification, and
    // how many of those are regular files; folders are not counted.
    struct MatchCount {
        std::int32_t files = 0;
        std::int32_t matching = 0;
    };
    static MatchCount CountMatching(const std::vector<platform::FolderEntry>& entries,
                                    const std::string& fileSpec);
    void ReportSkippedEntry(const std::string& name, const std::string& why);

    ::ReportText report_;
    PurgeRun run_;
    std::string startFolder_;
    RunHost* host_ = nullptr;  // during a run
    bool reportEnded_ = false;  // full, or suspended: no more run text
    bool textBoxStale_ = false;
    PurgeBatch purgeBatch_;  // small files gathered in the folder being purged

    // Run state, reset at the start of every run.
    bool blnPaused = false;
    bool blnReportSuspended = false;
    std::int32_t intReportLines = 0;
    std::int32_t intNumFoldersRemoved = 0;
    std::int32_t lngTotalPurgeSeconds = 0;
    std::int32_t lngNumFilesProcessed = 0;
    std::int32_t lngNumEntriesSkipped = 0;
    double dblTotalFileBytes = 0;
    std::string currentFolder_;
};
