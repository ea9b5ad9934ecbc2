// The report window's controls and its buttons: pause, continue, stop,
// close and copy to the clipboard.
#include "purge/frmReport.h"

#include "purge/frmReportLayout.h"
#include "ui/Ui.h"

using ui::ControlKind;
using namespace report_layout;

frmReport::frmReport()
    : Form("frmReport"),
      cmdPauseContinue(Add(ControlKind::Button, "cmdPauseContinue", "Continue", 0, 0,
                           kNarrowButtonWidth, kButtonHeight)),
      cmdCopyToClipboard(Add(ControlKind::Button, "cmdCopyToClipboard",
                             "Copy selected text to clipboard", kStopLeft, 0, kCopySelectionWidth,
                             kButtonHeight)),
      cmdStop(Add(ControlKind::Button, "cmdStop", "Stop", kStopLeft, 0, kNarrowButtonWidth,
                  kButtonHeight)),
      cmdClose(
          Add(ControlKind::Button, "cmdClose", "Close", 0, 0, kNarrowButtonWidth, kButtonHeight)),
      txbText(
          Add(ControlKind::TextBox, "txbText", "", kMargin, kMargin, kTextWidth, kFullTextHeight)),
      lblDots(Add(ControlKind::Label, "lblDots", "Each dot corresponds to a folder.", kMargin, 0,
                  kStatusWidth, kLabelHeight)),
      lblPausedDone(Add(ControlKind::Label, "lblPausedDone", "Paused ...", kMargin, 0, kStatusWidth,
                        kLabelHeight)) {
    SetCaption("Report");
    Resize(kWindowWidth, kFullTextHeight + kWindowBelowText);
    txbText.SetMultiline(true);
    txbText.SetLocked(true);
    RestoreFullLayout();
    cmdClose.Move(kWindowWidth - kRightGap - kNarrowButtonWidth, cmdClose.Top());
    PlacePauseContinue();
    lblDots.Move(kMargin, cmdClose.Top() + kStatusBelowButtonTop);
    PlaceStatusBelowTopOf(cmdClose);

    cmdPauseContinue.Click = [this] { cmdPauseContinue_Click(); };
    cmdStop.Click = [this] { cmdStop_Click(); };
    cmdClose.Click = [this] { cmdClose_Click(); };
    cmdCopyToClipboard.Click = [this] { cmdCopyToClipboard_Click(); };
    txbText.MouseUp = [this](ui::MouseButton button) { txbText_MouseUp(button); };
    // The close box acts as Close: a run still going ends at its next check.
    OnClose = [this] { cmdClose_Click(); };
}

void frmReport::SetRunButtons() {
    if (run_.blnPurgeFiles) {
        cmdStop.SetVisible(false);
        cmdPauseContinue.SetCaption("Pause at next purge");
        cmdPauseContinue.Move(cmdPauseContinue.Left(), cmdPauseContinue.Top(), kWideButtonWidth,
                              kButtonHeight);
    } else {
        cmdStop.SetCaption("Stop");
        cmdStop.Move(cmdStop.Left(), cmdStop.Top(), kNarrowButtonWidth, kButtonHeight);
        cmdPauseContinue.SetCaption("Pause");
        cmdPauseContinue.Move(cmdPauseContinue.Left(), cmdPauseContinue.Top(), kNarrowButtonWidth,
                              kButtonHeight);
    }
}

void frmReport::PlacePauseContinue() {
    cmdPauseContinue.Move(Width() - kRightGap - cmdPauseContinue.Width(), cmdClose.Top());
}

void frmReport::PlaceStatusBelowTopOf(const ui::Control& button) {
    lblPausedDone.Move(lblPausedDone.Left(), button.Top() + kStatusBelowButtonTop);
}

void frmReport::cmdPauseContinue_Click() {
    blnPaused = !blnPaused;
    if (blnPaused) {
        cmdStop.SetCaption("Stop");
        cmdStop.SetVisible(true);
        cmdStop.Move(cmdStop.Left(), cmdStop.Top(), kNarrowButtonWidth, kButtonHeight);
        cmdPauseContinue.SetCaption("Continue");
        cmdPauseContinue.Move(cmdPauseContinue.Left(), cmdPauseContinue.Top(), kContinueWidth,
                              kButtonHeight);
        lblPausedDone.SetCaption("Paused");
        PlaceStatusBelowTopOf(cmdStop);
        SetClockEnabled(true);
        lblDots.SetVisible(false);
    } else {
        SetRunButtons();
        lblPausedDone.SetCaption("");
        SetClockEnabled(false);
    }
    PlacePauseContinue();
}

void frmReport::cmdStop_Click() {
    blnStop = true;
    cmdStop.SetVisible(false);
    cmdPauseContinue.SetVisible(false);
    cmdClose.SetVisible(true);
    SetClockEnabled(false);
    lblPausedDone.SetCaption("Stopped");
    PlaceStatusBelowTopOf(cmdStop);
    lblDots.SetVisible(false);
}

void frmReport::cmdClose_Click() {
    blnStop = true;
    SetClockEnabled(false);
    Hide();
}

void frmReport::cmdCopyToClipboard_Click() {
    if (!report_.Empty()) {
        std::string selected = txbText.SelectedText();
        ui::TheUi().SetClipboardText(selected.empty() ? report_.Text() : selected);
    }
    lblPausedDone.SetCaption("");
    cmdCopyToClipboard.SetCaption("Copy to clipboard");
    cmdCopyToClipboard.Move(cmdCopyToClipboard.Left(), cmdCopyToClipboard.Top(), kCopyWidth,
                            kButtonHeight);
    cmdClose.SetFocus();
}

void frmReport::txbText_MouseUp(ui::MouseButton button) {
    if (button != ui::MouseButton::Left || !cmdCopyToClipboard.Enabled()) return;
    if (txbText.SelectedText().empty()) {
        cmdCopyToClipboard.SetCaption("Copy to clipboard");
        cmdCopyToClipboard.Move(cmdCopyToClipboard.Left(), cmdCopyToClipboard.Top(), kCopyWidth,
                                kButtonHeight);
    } else {
        cmdCopyToClipboard.Move(cmdCopyToClipboard.Left(), cmdCopyToClipboard.Top(),
                                kCopySelectionWidth, kButtonHeight);
        cmdCopyToClipboard.SetCaption("Copy selected text to clipboard");
        lblPausedDone.SetCaption("");
    }
}

void frmReport::Form_Activate() {
    cmdCopyToClipboard.SetCaption("Copy to clipboard");
    cmdCopyToClipboard.Move(cmdCopyToClipboard.Left(), cmdCopyToClipboard.Top(), kCopyWidth,
                            kButtonHeight);
}

void frmReport::SetClockEnabled(bool enabled) {
    if (ClockSwitch) ClockSwitch(enabled);
}

void frmReport::ShowReportText() {
    // Only what changed since the text box was last brought up to date
    // travels: a run of 100,000 files sends each line once.
    const std::size_t keep = report_.UnchangedSinceShown();
    txbText.ReplaceTextFrom(keep, std::string_view(report_.Text()).substr(keep));
    report_.MarkShown();
    textBoxStale_ = false;
    txbText.SetSelStart(static_cast<int>(txbText.Caption().size()));
}
