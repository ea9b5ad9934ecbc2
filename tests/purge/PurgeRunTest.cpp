// "Purge files" from end to end, headless: the per-file results, the purge
// query, the anti-virus advice, pause and stop, progress marks, emptied
// folders and the summary.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <regex>

#include "purge/frmFileOps.h"
#include "purge/frmPurgeWarning.h"
#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

using run_testing::FakeLibrary;
using run_testing::RunProgram;

namespace {

const char* const kCrLf = "\r\n";

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int Count(const std::vector<std::string>& calls, const std::string& name) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

std::string LastLine(const std::string& report) {
    std::string text = report.substr(0, report.size() - 2);
    return text.substr(text.rfind(kCrLf) + 2);
}

}  // namespace

TEST(PurgeRun, EveryResultHasItsText) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    FakeLibrary library;
    library.codes = {{"cl.txt", -9},  {"ty.txt", -8},  {"fl.txt", -7},
                     {"nd4.txt", -4}, {"nd5.txt", -5}, {"nd6.txt", -6},
                     {"wr.txt", -3},  {"op.txt", -2},  {"lib.txt", -1},
                     {"gr.txt", -10}, {"hl.txt", -11}, {"sw.txt", -12}};
    for (const auto& [name, code] : library.codes) run.Drives().WriteFile("C:\\r\\" + name, "x");
    run.Drives().WriteFile("C:\\r\\ro.txt", "read-only");
    ::chmod(run.Drives().Native("C:\\r\\ro.txt").c_str(), 0444);
    run.Drives().WriteFile("C:\\r\\Work.SWP", "swap");
    run.Drives().WriteFile("C:\\r\\ok.txt", "gone soon");
    run.Drives().WriteFile("C:\\r\\setup.exe", "1");
    run.Drives().WriteFile("C:\\r\\tool.exe", "2");
    run.Select("C:\\r\\", "*.*", false);
    run.Ui().AnswerNextBox(ui::Answer::No);

    const std::string& report = run.Purge();

    // A file that reached the library keeps its size before the result.
    const std::pair<const char*, const char*> expected[] = {
        {"ro.txt (9 bytes)",
         ": file is read-only, not purged.\r\n(Perhaps file is in use by "
         "another program.)\r\n"},
        {"cl.txt (1 bytes)", ": invalid cluster size.\r\n"},
        {"ty.txt (1 bytes)", ": invalid purge type.\r\n"},
        {"fl.txt (1 bytes)", ": error when flushing file.\r\n"},
        {"nd4.txt (1 bytes)", ": file overwritten but not deleted.\r\n"},
        {"nd5.txt (1 bytes)", ": file overwritten but not deleted.\r\n"},
        {"nd6.txt (1 bytes)", ": file overwritten but not deleted.\r\n"},
        {"wr.txt (1 bytes)", ": error when writing to file.\r\n"},
        {"op.txt (1 bytes)", ": unable to open file for writing.\r\n"},
        {"lib.txt (1 bytes)", " NOT purged.\r\n"},
        {"gr.txt (1 bytes)", ": file grew while it was overwritten, not purged.\r\n"},
        {"hl.txt (1 bytes)", ": file has other hard links, not purged.\r\n"},
        {"sw.txt (1 bytes)", ": file was replaced while the run went on, not purged.\r\n"},
        {"Work.SWP", ": the swap file, not purged.\r\n"},
        {"ok.txt (9 bytes)", " purged.\r\n"},
    };
    for (const auto& [name, text] : expected) {
        EXPECT_TRUE(Has(report, std::string(kCrLf) + testing_support::AsShown(name) + text))
            << name << "\n" << report;
    }
    // The first exe asked about is refused by No; the other is not asked.
    EXPECT_EQ(run.Ui().Boxes().size(), 1u);
    EXPECT_EQ(run.Ui().LastBox().title, "Purge query");
    EXPECT_EQ(run.Ui().LastBox().defaultButton, 2) << "No is the default";
    EXPECT_TRUE(Has(report, ".exe: \"exe\" files are not purged.\r\n"));
    EXPECT_TRUE(Has(report, ".exe NOT purged.\r\n"));
    EXPECT_EQ(Count(library.calls, "ro.txt"), 0) << "read-only files never reach the library";
    EXPECT_EQ(Count(library.calls, "Work.SWP"), 0);
    EXPECT_EQ(Count(library.calls, "setup.exe") + Count(library.calls, "tool.exe"), 0);
    EXPECT_FALSE(run.Drives().Exists("C:\\r\\ok.txt"));
    EXPECT_EQ(run.Drives().ReadFile("C:\\r\\ro.txt"), "read-only");
    EXPECT_TRUE(Has(
        report, std::string("Number of files: 17") + kCrLf + "Number of files purged: 1" + kCrLf));
}

// With folder names only, a file that is not purged is still named, with
// its reason, and every message and folder line has a line of its own.
TEST(PurgeRun, FolderNamesOnlyStillNamesEachFileNotPurgedOnALineOfItsOwn) {
    RunProgram run;
    FakeLibrary library;
    library.codes = {{"op.txt", -2}, {"wr.txt", -3}};
    run.Drives().WriteFile("C:\\n\\a\\op.txt", "x");
    run.Drives().WriteFile("C:\\n\\b\\gone.txt", "purged");
    run.Drives().WriteFile("C:\\n\\b\\wr.txt", "xy");
    run.Drives().WriteFile("C:\\n\\c\\ro.txt", "read-only");
    ::chmod(run.Drives().Native("C:\\n\\c\\ro.txt").c_str(), 0444);
    run.Drives().WriteFile("C:\\n\\e\\ok.txt", "gone soon");
    run.Select("C:\\n\\", "*.*", true);
    run.Options().chkFolderNamesOnly.SetValue(1);
    run.Options().chkDeleteEmptyFolders.SetValue(1);

    const std::string& report = run.Purge();

    for (const char* lines : {
             "\nC:\\n\\a\\\r\nop.txt (1 bytes): unable to open file for writing.\r\n",
             "\nC:\\n\\b\\\r\nwr.txt (2 bytes): error when writing to file.\r\n",
             "\nC:\\n\\c\\\r\nro.txt (9 bytes): file is read-only, not purged.\r\n"
             "(Perhaps file is in use by another program.)\r\n",
             "\nFolder C:\\n\\e removed.\r\n",
         }) {
        EXPECT_TRUE(Has(report, lines)) << lines << "\n" << report;
    }
    EXPECT_FALSE(Has(report, "ok.txt")) << "a purged file is not named";
    EXPECT_FALSE(Has(report, "gone.txt"));
}

TEST(PurgeRun, FilesOfTheProgramsOwnFolderAreNeverPurged) {
    RunProgram run;
    FakeLibrary library;
    run.Select(std::string(testing_support::ProgramFiles::kProgramFolder) + "\\", "*.*", false);
    const std::string& report = run.Purge();
    EXPECT_TRUE(
        Has(report, "kz_text.dat: a file in the current application folder, not purged.\r\n"));
    EXPECT_TRUE(library.calls.empty());
}

TEST(PurgeRun, ThePurgeQueryAllowsTheExtensionForTheRestOfTheRun) {
    RunProgram run;
    run.Drives().WriteFile("C:\\q\\a.ovl", "1");
    run.Drives().WriteFile("C:\\q\\b.ovl", "2");
    run.Select("C:\\q\\", "*.ovl", false);
    run.Ui().AnswerNextBox(ui::Answer::Yes);
    const std::string& report = run.Purge();
    ASSERT_EQ(run.Ui().Boxes().size(), 1u) << "asked once for the extension";
    EXPECT_TRUE(Has(run.Ui().LastBox().text,
                    std::string(kCrLf) + kCrLf +
                        "You have requested to purge a file with an "
                        "\"ovl\" extension." +
                        kCrLf +
                        "Do you wish to allow all files with this extension to be "
                        "purged?" +
                        kCrLf + "(Permission lasts only during the course of this operation.)"));
    EXPECT_TRUE(Has(report, "a.ovl (1 bytes) purged.") && Has(report, "b.ovl (1 bytes) purged."));
    EXPECT_FALSE(run.Drives().Exists("C:\\q\\a.ovl") || run.Drives().Exists("C:\\q\\b.ovl"));

    // The next run asks again.
    run.Drives().WriteFile("C:\\q\\c.ovl", "3");
    run.Select("C:\\q\\", "*.ovl", false);
    run.Ui().AnswerNextBox(ui::Answer::No);
    run.Purge();
    EXPECT_EQ(run.Ui().Boxes().size(), 2u);
    EXPECT_TRUE(run.Drives().Exists("C:\\q\\c.ovl"));
}

TEST(PurgeRun, CancelInThePurgeQueryStopsTheRun) {
    RunProgram run;
    run.Drives().WriteFile("C:\\q\\x.bat", "1");
    run.Select("C:\\q\\", "x.bat", false);
    run.Ui().AnswerNextBox(ui::Answer::Cancel);
    const std::string& report = run.Purge();
    EXPECT_TRUE(Has(run.Ui().LastBox().text, "purge a file with a \"bat\" extension."));
    EXPECT_TRUE(Has(report, std::string("Purge operation was stopped.") + kCrLf + kCrLf));
    EXPECT_TRUE(run.Drives().Exists("C:\\q\\x.bat"));
}

TEST(PurgeRun, DontKnowLeadsToTheAdviceWhichCanCancelThePurge) {
    RunProgram run;
    run.Drives().WriteFile("C:\\v\\letter.doc", "dear");
    run.Select("C:\\v\\", "letter.doc", false);
    int queries = 0;
    run.Ui().OnModal("frmAntiVirusQuery", [&](ui::Form& form) {
        ++queries;
        auto& query = static_cast<frmAntiVirusQuery&>(form);
        EXPECT_EQ(query.Caption(), "File-monitoring software query");
        EXPECT_TRUE(query.cmdDontKnow.HasFocus());
        query.cmdDontKnow.RaiseClick();
    });
    run.Ui().OnModal("frmPurgeWarning", [&](ui::Form& form) {
        auto& warning = static_cast<frmPurgeWarning&>(form);
        EXPECT_TRUE(Has(warning.lblMessage.Caption(),
                        "The file C:\\v\\letter.doc will now be purged.  If Norton"));
        EXPECT_TRUE(warning.cmdStopPurge.Visible());
        warning.cmdOK.RaiseClick();
    });
    EXPECT_TRUE(Has(run.Purge(), "letter.doc (4 bytes) purged."));
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(run.Ui().beeps, 1);

    run.Drives().WriteFile("C:\\v\\letter.doc", "again");
    run.Select("C:\\v\\", "letter.doc", false);
    run.Ui().OnModal("frmPurgeWarning", [&](ui::Form& form) {
        static_cast<frmPurgeWarning&>(form).cmdStopPurge.RaiseClick();
    });
    const std::string& report = run.Purge();
    EXPECT_EQ(queries, 2) << "asked again: the advice was not turned off";
    EXPECT_EQ(run.Ui().LastBox().text, "Purge operation terminated.");
    EXPECT_EQ(run.Ui().LastBox().title, "Purge cancelled");
    EXPECT_TRUE(Has(report, "Purge operation was stopped."));
    EXPECT_EQ(run.Drives().ReadFile("C:\\v\\letter.doc"), "again");
}

TEST(PurgeRun, AdviceTurnedOffWhileCancellingDoesNotCancelLaterPurges) {
    RunProgram run;
    run.Drives().WriteFile("C:\\v\\a.doc", "a");
    run.Select("C:\\v\\", "a.doc", false);
    run.Ui().OnModal("frmAntiVirusQuery", [](ui::Form& form) {
        static_cast<frmAntiVirusQuery&>(form).cmdYes.RaiseClick();
    });
    run.Ui().OnModal("frmPurgeWarning", [](ui::Form& form) {
        auto& warning = static_cast<frmPurgeWarning&>(form);
        warning.chkDontShowAgain.PressKey();
        warning.cmdStopPurge.RaiseClick();
    });
    run.Purge();
    EXPECT_TRUE(run.Drives().Exists("C:\\v\\a.doc"));
    EXPECT_FALSE(run.Windows().PurgeWarning().blnShowPurgeWarning);

    // No advice now, and no cancellation left over from the last one.
    EXPECT_TRUE(Has(run.Purge(), "a.doc (1 bytes) purged."));
    EXPECT_FALSE(run.Drives().Exists("C:\\v\\a.doc"));
}

TEST(PurgeRun, PauseTakesEffectAfterThePassAndStopWhilePausedEndsTheRun) {
    RunProgram run;
    run.SetPurgeType(0, 3);
    run.Drives().WriteFile("C:\\p\\f.txt", "content");
    run.Select("C:\\p\\", "f.txt", false);
    frmReport& report = run.Report();
    FakeLibrary library;
    library.onCall = [&](const std::string&) {
        if (library.calls.size() != 1) return;
        EXPECT_EQ(report.cmdPauseContinue.Caption(), "Pause at next purge");
        EXPECT_EQ(report.cmdPauseContinue.Width(), 2500);
        EXPECT_FALSE(report.cmdStop.Visible());
        report.cmdPauseContinue.RaiseClick();  // while the library works
    };
    bool sawPause = false;
    run.Ui().OnDoEvents = [&] {
        if (!report.Paused() || sawPause) return;
        sawPause = true;
        EXPECT_EQ(library.calls.size(), 1u) << "the pass in progress finished first";
        EXPECT_EQ(report.lblPausedDone.Caption(), "Paused");
        report.cmdStop.RaiseClick();
    };
    const std::string& text = run.Purge();
    EXPECT_TRUE(sawPause);
    EXPECT_EQ(library.calls.size(), 1u);
    EXPECT_TRUE(Has(text, "f.txt (7 bytes) NOT purged."));
    EXPECT_TRUE(Has(text, "Purge operation was stopped."));
    EXPECT_TRUE(run.Drives().Exists("C:\\p\\f.txt")) << "deleted only by the last pass";
}

TEST(PurgeRun, ThreePassesShowProgressMarksThatTheResultReplaces) {
    RunProgram run;
    run.SetPurgeType(2, 3);
    run.WriteSparseFile("C:\\m\\big.dat", 100000);
    run.Select("C:\\m\\", "big.dat", false);
    FakeLibrary library;
    std::vector<std::string> lines;
    library.onCall = [&](const std::string&) {
        lines.push_back(LastLine(run.Report().ReportText() + "\r\n"));
    };
    const std::string& report = run.Purge();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "big.dat (100,000 bytes) purging ___");
    EXPECT_EQ(lines[1], "big.dat (100,000 bytes) purging 1__");
    EXPECT_EQ(lines[2], "big.dat (100,000 bytes) purging 12_");
    EXPECT_TRUE(Has(report, std::string(kCrLf) + "big.dat (100,000 bytes) purged." + kCrLf));

    // One purged file without slack: no count of purged files and no total.
    EXPECT_FALSE(Has(report, "Number of files purged"));
    EXPECT_FALSE(Has(report, "Total KB"));
    EXPECT_EQ(run.Ui().clipboard, report);
    EXPECT_TRUE(std::regex_match(LastLine(report), std::regex(".+, \\d\\d:\\d\\d:\\d\\d")))
        << LastLine(report);
    EXPECT_EQ(report.substr(report.size() - 2), kCrLf);
    EXPECT_EQ(run.Main().strFileSpec[0], "") << "the purged file is no longer selected";
}

TEST(PurgeRun, ANamedFileIsPurgedAloneAmongMatchingNames) {
    if (!testing_support::kCaseSensitiveNames) GTEST_SKIP() << testing_support::kNamesIgnoreCase;
    RunProgram run;
    run.Drives().WriteFile("C:\\n\\Secret.txt", "purge me");
    run.Drives().WriteFile("C:\\n\\secret.txt", "keep me");
    run.Drives().WriteFile("C:\\n\\SECRET.TXT", "keep me too");
    run.Select("C:\\n\\", "Secret.txt", false);
    const std::string& report = run.Purge();
    EXPECT_TRUE(Has(report, "Secret.txt (8 bytes) purged."));
    EXPECT_FALSE(run.Drives().Exists("C:\\n\\Secret.txt"));
    EXPECT_EQ(run.Drives().ReadFile("C:\\n\\secret.txt"), "keep me");
    EXPECT_EQ(run.Drives().ReadFile("C:\\n\\SECRET.TXT"), "keep me too");
}

TEST(PurgeRun, EmptiedFoldersGoBottomUpAndTheStartingFolderStays) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    run.Drives().WriteFile("C:\\top\\a\\b\\c\\f.txt", "1");
    run.Drives().WriteFile("C:\\top\\a\\g.txt", "2");
    run.Drives().WriteFile("C:\\top\\kept\\h.doc", "not matching");
    run.Drives().WriteFile("C:\\top\\t.txt", "3");
    run.Select("C:\\top\\", "*.txt", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);

    const std::string& report = run.Purge();

    const auto c = report.find("Folder C:\\top\\a\\b\\c removed.\r\n\r\n");
    const auto b = report.find("Folder C:\\top\\a\\b removed.");
    const auto a = report.find("Folder C:\\top\\a removed.");
    ASSERT_NE(c, std::string::npos) << report;
    EXPECT_LT(c, b);
    EXPECT_LT(b, a);
    EXPECT_FALSE(run.Drives().Exists("C:\\top\\a"));
    EXPECT_TRUE(run.Drives().Exists("C:\\top"));
    EXPECT_TRUE(run.Drives().Exists("C:\\top\\kept\\h.doc"));
    EXPECT_TRUE(Has(report, std::string("Purging C:\\top\\*.txt (including *.txt files") + kCrLf +
                                "in subfolders) using random bytes once." + kCrLf));
    EXPECT_TRUE(Has(report, std::string("Number of files: 3") + kCrLf +
                                "Number of files purged: 3" + kCrLf + "Total KB: 0.00" + kCrLf +
                                "Number of folders removed: 3" + kCrLf));
}

TEST(PurgeRun, PurgedFilesCanBeKeptForInspection) {
    RunProgram run;
    run.SetPurgeType(1, 1);
    run.Drives().WriteFile("C:\\k\\one.txt", "secret words");
    run.Drives().WriteFile("C:\\k\\two.txt", "more secret words");
    run.Select("C:\\k\\", "*.*", false);
    run.Options().chkDoNotDeletePurgedFiles.SetValue(1);
    const std::string& report = run.Purge();
    EXPECT_TRUE(Has(report, std::string("Purging all files in C:\\k\\ using alternate bit "
                                        "patterns once.") +
                                kCrLf));
    EXPECT_TRUE(
        Has(report, std::string("Total KB: 0.03") + kCrLf + "Purged files not deleted." + kCrLf));
    EXPECT_EQ(run.Drives().ReadFile("C:\\k\\one.txt"), std::string(12, '\xF5'));
    EXPECT_EQ(run.Main().strFileSpec[0], "*.*") << "kept files stay selected";
}

TEST(PurgeRun, PerFileConfirmation) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) {
        run.Drives().WriteFile(std::string("C:\\f\\") + name, name);
    }
    run.Select("C:\\f\\", "*.txt", false);
    run.Main().blnConfirmFiles = true;
    int asked = 0;
    run.Ui().OnModal("frmConfirmFiles", [&](ui::Form& form) {
        auto& confirm = static_cast<frmConfirmFiles&>(form);
        EXPECT_TRUE(Has(confirm.lblFile.Caption(), testing_support::AsShown("C:\\f\\")));
        EXPECT_FALSE(run.Report().cmdPauseContinue.Visible());
        EXPECT_FALSE(run.Main().Enabled()) << "the main window waits for the answer";
        ++asked == 1 ? confirm.cmdNo.RaiseClick() : confirm.cmdYesAndDontShowAgain.RaiseClick();
    });
    const std::string& report = run.Purge();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(Has(report, "Number of files purged: 3"));
    EXPECT_TRUE(Has(report, ".txt NOT purged."));
}

TEST(PurgeRun, AFullReportIsSuspendedAndThePurgeGoesOn) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    for (int i = 0; i < 120; ++i) {
        run.Drives().WriteFile("C:\\many\\file-" + std::to_string(1000 + i) + ".txt", "x");
    }
    run.Select("C:\\many\\", "*.txt", false);
    SetReportCapacityForTesting(2500);
    const std::string& report = run.Purge();
    EXPECT_TRUE(run.Report().ReportSuspended());
    EXPECT_TRUE(Has(report, std::string(kCrLf) + kCrLf +
                                "The report buffer has been filled, so "
                                "this report cannot continue.  The purge "
                                "operation will continue, but without "
                                "report of results for individual "
                                "files." +
                                kCrLf));
    EXPECT_TRUE(Has(report, "Number of files purged: 120"));
    EXPECT_FALSE(run.Drives().Exists("C:\\many\\file-1119.txt"));
    EXPECT_FALSE(Has(report, "stopped"));
}
