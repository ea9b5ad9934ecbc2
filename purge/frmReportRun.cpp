// The frame of every run in the report window: its start, the report text,
// pause and stop between files, a full report, and the end with the
// summary and the copy to the clipboard.
#include <algorithm>
#include <chrono>
#include <new>
#include <thread>

#include "platform/FileSystem.h"
#include "purge/NumberFormat.h"
#include "purge/RunDate.h"
#include "purge/frmReport.h"
#include "purge/frmReportLayout.h"
#include "ui/Ui.h"

using namespace report_layout;

namespace {
const char* const kCrLf = "\r\n";
// While paused the run only waits for a click; it need not spin.
constexpr auto kPausedPoll = std::chrono::milliseconds(20);
}  // namespace

RunOutcome frmReport::ProcessFiles(const PurgeRun& run, RunHost& host) {
    run_ = run;
    startFolder_ = run.strNextDirPath;
    host_ = &host;
    StartRun();
    if (run_.blnPurgeFiles) {
        WritePurgeHeader();
        PurgeFolder(run_.strNextDirPath, run_.strCurrentFileSpec, run_.blnPurgeSlack);
    } else {
        host.ShowEstimatedTime("");
        ListFolder(run_.strNextDirPath, run_.strCurrentFileSpec);
    }
    EndRun();
    // What the run held belongs to it alone: a wipe's drive is let go (so
    // it can be unmounted) and its fill's record forgotten.
    run_.heldFolder.reset();
    run_.fillWrote = nullptr;
    host_ = nullptr;
    RunOutcome outcome;
    outcome.lngNumFilesProcessed = lngNumFilesProcessed;
    outcome.lngNumFilesPurged = lngNumFilesPurged;
    outcome.lngNumEntriesSkipped = lngNumEntriesSkipped;
    outcome.dblTotalFileBytes = dblTotalFileBytes;
    outcome.blnStop = blnStop;
    return outcome;
}

void frmReport::StartRun() {
    blnReportSuspended = false;
    reportEnded_ = false;

    cmdCopyToClipboard.SetVisible(false);
    report_.Clear();
    textBoxStale_ = true;
    ShowReportText();
    lblDots.SetVisible(run_.blnListFiles && !run_.blnDisplayFolderNames);
    lblPausedDone.SetCaption("");
    SetClockEnabled(true);
    cmdStop.SetVisible(false);
    cmdClose.SetVisible(false);
    SetRunButtons();
    PlacePauseContinue();
    cmdPauseContinue.SetVisible(true);

    dblTotalFileBytes = 0;
    blnStop = false;
    blnPaused = false;
    blnPurgeRemainingFiles = false;
    lngNumFilesProcessed = 0;
    lngNumFilesPurged = 0;
    intReportLines = 0;
    intNumFoldersRemoved = 0;
    lngTotalPurgeSeconds = 0;
    lngNumEntriesSkipped = 0;
    currentFolder_.clear();

    RestoreFullLayout();
}

void frmReport::EndRun() {
    cmdStop.SetVisible(false);
    cmdPauseContinue.SetVisible(false);
    cmdClose.SetVisible(true);
    SetClockEnabled(false);

    report_.TrimTrailingBlanks();
    AppendAnyway(std::string(kCrLf) + kCrLf);
    if (lngNumFilesProcessed != 1) {
        AppendAnyway("Number of files: " + FormatNumber(lngNumFilesProcessed, 0) + kCrLf);
        ++intReportLines;
    }
    if (run_.blnPurgeFiles) {
        WritePurgeSummary();
    } else {
        WriteListingSummary();
    }
    ShrinkToReport();

    if (run_.blnPurgeFiles) {
        AppendAnyway(ShortDateAndTime() + kCrLf);
        const std::string& status = lblPausedDone.Caption();
        if (status != "Paused" && status != "Stopped" && lngNumFilesPurged >= 1) {
            lblPausedDone.SetCaption("Done");
            PlaceStatusBelowTopOf(cmdClose);
            lblDots.SetVisible(false);
        }
    }

    cmdCopyToClipboard.Move(cmdStop.Left(), cmdClose.Top());
    cmdCopyToClipboard.SetVisible(true);
    ShowReportText();
    // The copy empties the status as a click on it does, but the user must
    // still see how the run ended: "Done" and "Stopped" stay.
    const std::string status = lblPausedDone.Caption();
    cmdCopyToClipboard_Click();
    if (status == "Done" || status == "Stopped") lblPausedDone.SetCaption(status);
    ShowReportText();
    Refresh();
}

void frmReport::RestoreFullLayout() {
    // The text box fills the window's width, whatever width the run gave it
    // (a wipe's report is as wide as the main window): no empty strip.
    txbText.Move(txbText.Left(), txbText.Top(), TextWidthIn(Width()), kFullTextHeight);
    Resize(Width(), kFullTextHeight + kWindowBelowText);
    cmdClose.Move(Width() - kRightGap - cmdClose.Width(), cmdClose.Top());
    const int buttonsTop = Height() - kButtonsAboveBottom;
    for (ui::Control* button : {&cmdClose, &cmdPauseContinue, &cmdStop, &cmdCopyToClipboard}) {
        button->Move(button->Left(), buttonsTop);
    }
    lblDots.Move(lblDots.Left(), buttonsTop + kStatusBelowButtonTop);
}

void frmReport::ShrinkToReport() {
    if (intReportLines >= kMaxLinesToShrink) return;
    // Room for every line the report holds (the heading lines too, which
    // the count leaves out), with one more for the summary still to come,
    // in lines as tall as the font draws them: the first line stays in view.
    const auto& text = report_.Text();
    int lines = 2;
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; ++at) ++lines;
    lines = std::max(lines, intReportLines);
    const int lineHeight = std::max(kTwipsPerLine, ui::TheUi().LineHeight(true));
    const int fitted = lines * lineHeight + kTextBoxPadding;
    if (txbText.Height() <= fitted) return;
    txbText.Move(txbText.Left(), txbText.Top(), txbText.Width(), fitted);
    Resize(Width(), fitted + kWindowBelowText);
    const int buttonsTop = Height() - kButtonsAboveBottom;
    for (ui::Control* button : {&cmdClose, &cmdPauseContinue, &cmdStop}) {
        button->Move(button->Left(), buttonsTop);
    }
    PlaceStatusBelowTopOf(cmdClose);
    // The dots' label moves with the box, never left below the window's edge.
    lblDots.Move(lblDots.Left(), buttonsTop + kStatusBelowButtonTop);
}

void frmReport::Append(const std::string& text) {
    if (reportEnded_) return;
    try {
        try {
            report_.Append(text);
        } catch (const std::bad_alloc&) {
            throw ReportText::Full{};
        }
    } catch (const ReportText::Full&) {
        if (!run_.blnPurgeFiles) throw;
        ReportBufferFull();
        return;
    }
    textBoxStale_ = true;
}

void frmReport::AppendAnyway(const std::string& text) {
    report_.AppendAnyway(text);
    textBoxStale_ = true;
}

void frmReport::AppendOwnLine(const std::string& text) {
    Append(std::string(AtLineStart() ? "" : kCrLf) + text + kCrLf);
}

bool frmReport::AtLineStart() const {
    return report_.Empty() || report_.Text().back() == '\n';
}

void frmReport::AddReportText(const std::string& text, bool /*scroll*/) {
    // The caret goes to the end at the next refresh of the text box, which
    // the Clock does once a second; see the header.
    if (run_.blnFolderNamesOnly || blnReportSuspended) return;
    Append(text);
}

void frmReport::AppendNote(const std::string& text) {
    Append(text);
    ShowReportText();
    ui::TheUi().SetClipboardText(report_.Text());
}

void frmReport::CheckPauseAndStop() {
    // Called after every file: what the window shows is what has been done.
    ShowReportText();
    ui::TheUi().DoEvents();
    if (blnStop) {
        Append(kCrLf);
        ++intReportLines;
        return;
    }
    if (!blnPaused) return;

    ShowReportText();
    Refresh();
    SetClockEnabled(false);
    while (!blnStop && blnPaused) {
        ui::TheUi().DoEvents();
        if (!blnStop && blnPaused) std::this_thread::sleep_for(kPausedPoll);
    }
    if (blnStop) {
        Append(kCrLf);
        ++intReportLines;
    }
    SetClockEnabled(true);
}

void frmReport::ReportBufferFull() {
    report_.RemoveLastCharacters(1024);
    AppendAnyway(std::string(kCrLf) + kCrLf);
    // The text box shows where the report ended before any box asks for OK.
    ShowReportText();
    if (run_.blnPurgeFiles) {
        AppendAnyway(
            "The report buffer has been filled, so this report cannot continue.  The purge "
            "operation will continue, but without report of results for individual files." +
            std::string(kCrLf) + kCrLf);
        blnReportSuspended = true;
    } else {
        ui::TheUi().MsgBox(
            "The output report buffer has been filled, so this report cannot continue.",
            ui::Buttons::OK, ui::Icon::None, "Report buffer full");
        AppendAnyway("The output report buffer was filled." + std::string(kCrLf));
        AppendAnyway("Note: Some files were not listed." + std::string(kCrLf));
        blnStop = true;
    }
    // Whatever the run writes from here on would not fit either.
    reportEnded_ = true;
    ShowReportText();
    Refresh();
}
