// The report window around a run: its text box and the Clock, its size at
// the end, Close during a run, and copying to the clipboard.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/WindowRun.h"
#include "purge/ReportText.h"
#include "tests/purge/RunTestSupport.h"

using run_testing::RunProgram;

TEST(ReportText, CapacityAndCharacterWiseEdits) {
    SetReportCapacityForTesting(10);
    ReportText text;
    text.Append("12345");
    EXPECT_THROW(text.Append("678901"), ReportText::Full);
    EXPECT_EQ(text.Text(), "12345") << "nothing of a text that does not fit";
    text.AppendAnyway("678901");
    EXPECT_EQ(text.Size(), 11u);
    SetReportCapacityForTesting(0);
    EXPECT_EQ(ReportCapacity(), kReportCapacityBytes);

    ReportText names;
    names.Append("na\xC3\xAFve \xE2\x82\xAC");  // "naïve €"
    names.RemoveLastCharacters(3);
    EXPECT_EQ(names.Text(), "na\xC3\xAFv") << "whole characters, never half of one";
    names.RemoveLastCharacters(100);
    EXPECT_TRUE(names.Empty());

    ReportText line;
    line.Append("bytes) x (12 bytes) purging 1_");
    line.CutAfterLast("bytes)");
    EXPECT_EQ(line.Text(), "bytes) x (12 bytes)");
    line.CutAfterLast("absent");
    EXPECT_EQ(line.Text(), "bytes) x (12 bytes)");
}

TEST(ReportWindow, TheClockBringsTheTextBoxUpToDate) {
    RunProgram run;
    for (int i = 0; i < 3; ++i) run.Drives().WriteFile("C:\\c\\f" + std::to_string(i), "x");
    run.Select("C:\\c\\", "*", false);
    frmReport& report = run.Report();
    bool ticked = false;
    run.Ui().OnDoEvents = [&] {
        if (ticked) return;
        ticked = true;
        const int seconds = report.lngSecondsElapsed;
        run.Main().Clock.RaiseTimer();
        EXPECT_EQ(report.txbText.Caption(), report.ReportText());
        EXPECT_EQ(report.txbText.SelStart(), static_cast<int>(report.ReportText().size()));
        EXPECT_EQ(report.lngSecondsElapsed, seconds + 1);
    };
    run.List();
    EXPECT_TRUE(ticked);
}

TEST(ReportWindow, AShortReportShrinksTheWindowAndTheNextRunRestoresIt) {
    RunProgram run;
    frmReport& report = run.Report();
    const int fullText = report.txbText.Height();
    const int fullWindow = report.Height();
    EXPECT_EQ(fullWindow, fullText + 1030);

    run.Drives().WriteFile("C:\\s\\one.txt", "x");
    run.Select("C:\\s\\", "*.*", false);
    run.List();
    // Every line of the report has room, the heading lines too, and one
    // more: the first line is never scrolled out of the shrunk box.
    const auto& text = report.ReportText();
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 2;
    EXPECT_EQ(report.txbText.Height(), lines * 260 + 600);
    EXPECT_LE(report.lblDots.Top() + report.lblDots.Height(), report.Height())
        << "the dots' label moves up with the box";
    EXPECT_EQ(report.Height(), report.txbText.Height() + 1030);
    EXPECT_EQ(report.cmdClose.Top(), report.Height() - 800);
    EXPECT_EQ(report.lblPausedDone.Top(), report.cmdClose.Top() + 30);
    EXPECT_EQ(report.cmdCopyToClipboard.Top(), report.cmdClose.Top());
    EXPECT_EQ(report.cmdCopyToClipboard.Left(), report.cmdStop.Left());

    for (int i = 0; i < 120; ++i) run.Drives().WriteFile("C:\\s\\m" + std::to_string(i), "x");
    run.Select("C:\\s\\", "*", false);
    run.List();
    EXPECT_EQ(report.txbText.Height(), fullText) << "100 lines or more keep the full height";
    EXPECT_EQ(report.Height(), fullWindow);
    EXPECT_EQ(report.cmdClose.Top(), fullWindow - 800);
}

TEST(ReportWindow, CloseDuringARunStopsItAndHidesTheWindow) {
    RunProgram run;
    for (int i = 0; i < 4; ++i) run.Drives().WriteFile("C:\\c\\f" + std::to_string(i), "x");
    run.Select("C:\\c\\", "*", false);
    int calls = 0;
    run.Ui().OnDoEvents = [&] {
        if (++calls == 1) run.Report().RequestClose();
    };
    const std::string& text = run.List();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(run.Report().Visible());
    EXPECT_TRUE(run.Report().blnStop);
    EXPECT_NE(text.find("File listing was stopped."), std::string::npos);
    EXPECT_FALSE(run.Main().Clock.Enabled());
}

TEST(ReportWindow, CopyTakesTheSelectionOrTheWholeReport) {
    RunProgram run;
    run.Drives().WriteFile("C:\\k\\abc.txt", "x");
    run.Select("C:\\k\\", "abc.txt", false);
    frmReport& report = run.Report();
    const std::string& text = run.List();
    EXPECT_EQ(run.Ui().clipboard, text) << "the automatic copy at the end of the run";
    EXPECT_EQ(report.cmdCopyToClipboard.Caption(), "Copy to clipboard");
    EXPECT_EQ(report.cmdCopyToClipboard.Width(), 2115);

    report.txbText.SetSelection(static_cast<int>(text.find("abc.txt")), 7);
    report.txbText.RaiseMouseUp(ui::MouseButton::Left);
    EXPECT_EQ(report.cmdCopyToClipboard.Caption(), "Copy selected text to clipboard");
    EXPECT_EQ(report.cmdCopyToClipboard.Width(), 3165);
    report.cmdCopyToClipboard.RaiseClick();
    EXPECT_EQ(run.Ui().clipboard, "abc.txt");
    EXPECT_TRUE(report.cmdClose.HasFocus());
    EXPECT_EQ(report.cmdCopyToClipboard.Caption(), "Copy to clipboard");

    report.txbText.SetSelection(0, 0);
    report.txbText.RaiseMouseUp(ui::MouseButton::Left);
    EXPECT_EQ(report.cmdCopyToClipboard.Width(), 2115);
    report.cmdCopyToClipboard.RaiseClick();
    EXPECT_EQ(run.Ui().clipboard, text);

    report.cmdCopyToClipboard.SetCaption("anything");
    report.Form_Activate();
    EXPECT_EQ(report.cmdCopyToClipboard.Caption(), "Copy to clipboard");
}

TEST(ReportWindow, APurgeEndsShowingDoneUntilTheUserCopies) {
    RunProgram run;
    run.Drives().WriteFile("C:\\d\\gone.txt", "x");
    run.Select("C:\\d\\", "gone.txt", false);
    frmReport& report = run.Report();
    run.Purge();
    EXPECT_EQ(run.Ui().clipboard, report.ReportText()) << "copied all the same";
    EXPECT_EQ(report.lblPausedDone.Caption(), "Done");
    EXPECT_EQ(report.lblPausedDone.Top(), report.cmdClose.Top() + 30);
    report.cmdCopyToClipboard.RaiseClick();
    EXPECT_EQ(report.lblPausedDone.Caption(), "") << "a click of the user's empties it";
}

TEST(ReportWindow, AWideReportIsFilledAndTheNextRunHasItsOwnWidthAgain) {
    RunProgram run;
    run.Drives().WriteFile("C:\\w\\a.txt", "x");
    run.Select("C:\\w\\", "*.*", false);
    frmReport& report = run.Report();
    const int ownWidth = report.Width();
    const int textGap = ownWidth - report.txbText.Width();
    // A wipe's report is as wide as the main window.
    report.Resize(run.Main().Width(), report.Height());
    PurgeRun listing;
    listing.blnListFiles = true;
    listing.strNextDirPath = "C:\\w\\";
    listing.strCurrentFileSpec = "*.*";
    WindowRunHost host(run.Windows());
    report.ProcessFiles(listing, host);
    EXPECT_EQ(report.Width() - report.txbText.Width(), textGap) << "no empty strip";
    EXPECT_EQ(report.cmdClose.Left() + report.cmdClose.Width(), report.Width() - 200);

    run.List();
    EXPECT_EQ(report.Width(), ownWidth);
    EXPECT_EQ(report.Width() - report.txbText.Width(), textGap);

    // Brought back from the main window, the summary at the end is in view.
    report.Hide();
    report.txbText.SetSelection(0, 5);
    run.Main().cmdReportScreen.RaiseMouseUp();
    EXPECT_EQ(report.txbText.SelStart(), static_cast<int>(report.txbText.Caption().size()));
}
