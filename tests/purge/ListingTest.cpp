// "List files, estimate time": the walk, its report lines, the summary and
// the purge-time estimate, headless.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

using run_testing::RunProgram;

namespace {

const char* const kCrLf = "\r\n";

std::string Estimate(RunProgram& run, const std::string& folder, std::uintmax_t bytes) {
    run.WriteSparseFile(folder + "big.bin", bytes);
    run.Select(folder, "big.bin", false);
    std::string report = run.List();
    return report.substr(report.find("Purge type: "));
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(Listing, ANamedFileIsListedAloneAmongNamesThatDifferInCase) {
    if (!testing_support::kCaseSensitiveNames) GTEST_SKIP() << testing_support::kNamesIgnoreCase;
    RunProgram run;
    run.Drives().WriteFile("C:\\data\\Notes.TXT", "hello");
    run.Drives().WriteFile("C:\\data\\notes.txt", "a longer text");
    run.Select("C:\\data\\", "Notes.TXT", false);

    const std::string& report = run.List();

        // On a file system that tells names apart by case they are shown as
    // spelt, else the two would look alike.
    EXPECT_EQ(report, std::string("C:\\data\\") + kCrLf + "Notes.TXT (5 bytes)" + kCrLf + kCrLf +
                          "Total KB: 0.00" + kCrLf + kCrLf +
                          "Purge type: " + run.Main().lblTypeOfPurge.Caption() + kCrLf +
                          "Estimated purge time: less than 10 seconds." + kCrLf);
    EXPECT_EQ(run.Main().lblTypeOfPurge.Caption(),
              "Alternate bit patterns plus random bytes, 3 times (= 18 overwrites)");
    EXPECT_EQ(run.Main().lblEstimatedTime.Caption(), "Less than 10 seconds.");
    EXPECT_EQ(run.Report().Caption(), "List files Notes.TXT");
    EXPECT_EQ(run.Report().txbText.Caption(), report) << "the text box shows the whole report";
    EXPECT_EQ(run.Ui().clipboard, report);
    EXPECT_TRUE(run.Main().fraMenu.Enabled());
    EXPECT_TRUE(run.Main().fraSetup.Enabled());
    EXPECT_FALSE(run.Main().Clock.Enabled());
}

TEST(Listing, AllFilesOfAFolderWithSizesAndCount) {
    RunProgram run;
    run.Drives().WriteFile("C:\\data\\A.txt", std::string(1500, 'a'));
    run.Drives().WriteFile("C:\\data\\b.doc", std::string(2000, 'b'));
    run.Drives().MakeFolder("C:\\data\\sub");
    run.Drives().WriteFile("C:\\data\\sub\\c.txt", "not in the listing");
    run.Select("C:\\data\\", "*.*", false);

    const std::string& report = run.List();

    EXPECT_EQ(run.Report().Caption(), "List all files");
    EXPECT_NE(report.find(testing_support::AsShown("A.txt") + " (1,500 bytes)"), std::string::npos);
    EXPECT_NE(report.find("b.doc (2,000 bytes)"), std::string::npos);
    EXPECT_EQ(report.find("c.txt"), std::string::npos);
    EXPECT_NE(report.find(std::string(kCrLf) + kCrLf + "Number of files: 2" + kCrLf +
                          "Total KB: 3.42" + kCrLf + kCrLf),
              std::string::npos);
}

TEST(Listing, WithSubfoldersTheAnswerChoosesFolderNamesOrDots) {
    RunProgram run;
    run.Drives().WriteFile("C:\\t\\a.txt", "1");
    run.Drives().WriteFile("C:\\t\\sub\\b.txt", "22");
    run.Drives().WriteFile("C:\\t\\sub\\deep\\c.txt", "333");
    run.Drives().WriteFile("C:\\t\\other\\d.doc", "not matching");
    run.Select("C:\\t\\", "*.txt", true);

    run.Ui().AnswerNextBox(ui::Answer::Cancel);
    run.Main().cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_EQ(run.Ui().LastBox().title, "List files");
    EXPECT_EQ(run.Ui().LastBox().text, "Display folder names?");
    EXPECT_EQ(run.Report().ReportText(), "") << "Cancel: nothing happens";
    EXPECT_FALSE(run.Report().Visible());

    run.Ui().AnswerNextBox(ui::Answer::No);
    std::string dots = run.List();
    EXPECT_EQ(dots.substr(0, dots.find(kCrLf)), "...") << "one dot per folder with matches";
    EXPECT_NE(dots.find("Number of files: 3"), std::string::npos);
    EXPECT_EQ(dots.find("a.txt"), std::string::npos) << "no file lines with subfolders";
    EXPECT_TRUE(run.Report().lblDots.Visible());
    EXPECT_EQ(run.Report().Caption(), "Estimate purge time");

    run.Ui().AnswerNextBox(ui::Answer::Yes);
    std::string folders = run.List();
    EXPECT_EQ(folders.substr(0, folders.find(std::string(kCrLf) + kCrLf)),
              std::string("C:\\t\\") + kCrLf + "C:\\t\\sub\\" + kCrLf + "C:\\t\\sub\\deep\\")
        << "a folder's files before its subfolders, depth first";
    EXPECT_FALSE(run.Report().lblDots.Visible());
}

TEST(Listing, NothingToListIsSaidInAMessage) {
    RunProgram run;
    run.Drives().MakeFolder("C:\\empty");
    run.Drives().WriteFile("C:\\some\\a.doc", "x");

    run.Main().cmdProcessFiles(2).RaiseMouseUp();
    EXPECT_EQ(run.Ui().LastBox().text, "No files specified.");
    EXPECT_EQ(run.Ui().LastBox().title, "Error");
    EXPECT_EQ(run.Ui().LastBox().icon, ui::Icon::Exclamation);

    struct Case {
        const char* folder;
        const char* spec;
        const char* message;
    };
    for (const Case& c :
         {Case{"C:\\empty\\", "*.*", "There are no files in C:\\empty\\."},
          Case{"C:\\some\\", "*.txt", "There are no files in C:\\some\\ matching *.txt."},
          Case{"C:\\some\\", "A.doc", "File A.doc not found."}}) {
        run.Select(c.folder, c.spec, false);
        run.Main().cmdProcessFiles(2).RaiseMouseUp();
        EXPECT_EQ(run.Ui().LastBox().text, c.message);
        EXPECT_EQ(run.Ui().LastBox().icon, ui::Icon::Exclamation);
        EXPECT_EQ(run.Report().ReportText(), "");
    }
}

TEST(Listing, TotalsChangeFromKilobytesToMegabytesAtOneMegabyte) {
    RunProgram run;
    run.WriteSparseFile("C:\\d\\below.bin", 1048575);
    run.WriteSparseFile("C:\\d\\at.bin", 1048576);
    run.Select("C:\\d\\", "below.bin", false);
    EXPECT_NE(run.List().find(std::string("Total KB: 1,024.00") + kCrLf), std::string::npos);
    run.Select("C:\\d\\", "at.bin", false);
    EXPECT_NE(run.List().find(std::string("Total MB: 1.00") + kCrLf), std::string::npos);

    run.Drives().WriteFile("C:\\d\\zero.txt", "");
    run.Select("C:\\d\\", "zero.txt", false);
    const std::string& report = run.List();
    EXPECT_EQ(report.substr(report.size() - 15), std::string("Total KB: 0") + kCrLf + kCrLf)
        << "an empty total ends the listing without an estimate";
}

TEST(Listing, EstimatesFollowTheDriveAndItsMeasuredSpeed) {
    RunProgram run("CA");
    run.SetPurgeType(0, 1);

    EXPECT_EQ(Estimate(run, "C:\\e\\", 600u * 1048576u),
              std::string("Purge type: Random bytes, once (= 1 overwrite)") + kCrLf +
                  "Estimated minimum purge time (assuming purge speed of 1 MB/sec.):" + kCrLf +
                  "11 minutes.  The actual time could be greater than this." + kCrLf +
                  "For a more accurate estimate of the purge time test the purge speed for "
                  "Drive C." +
                  kCrLf);
    EXPECT_EQ(run.Main().lblEstimatedTime.Caption(), "11 minutes");

    EXPECT_EQ(Estimate(run, "A:\\", 1048576),
              std::string("Purge type: Random bytes, once (= 1 overwrite)") + kCrLf +
                  "Estimated minimum purge time (assuming purge speed of 1 MB/minute):" + kCrLf +
                  "1 minute" + kCrLf);
    EXPECT_EQ(run.Main().lblEstimatedTime.Caption(), "1 minute");

    run.Main().sngPurgeSpeed['C' - 'A'] = 2.5f;
    run.SetPurgeType(0, 2);
    EXPECT_EQ(Estimate(run, "C:\\e\\", 600u * 1048576u),
              std::string("Purge type: Random bytes, twice (= 2 overwrites)") + kCrLf +
                  "Estimated minimum purge time (based on measured purge speed of 2.500 "
                  "MB/sec.):" +
                  kCrLf + "9 minutes.  The actual time could be greater than this." + kCrLf);
}

TEST(Listing, LinksFifosAndVanishedEntriesAreReportedAndTheListingGoesOn) {
    if (!testing_support::kHasFifosAndLinks) GTEST_SKIP() << testing_support::kNoFifosAndLinks;
    RunProgram run;
    run.Drives().WriteFile("C:\\outside.txt", "the link's target");
    run.Drives().WriteFile("C:\\w\\keep.txt", "12345");
    run.Drives().WriteFile("C:\\w\\goes1.txt", "x");
    run.Drives().WriteFile("C:\\w\\goes2.txt", "y");
    run.MakeLink("C:\\w\\link.txt", run.Drives().Native("C:\\outside.txt"));
    run.MakeFifo("C:\\w\\pipe.txt");
    run.Select("C:\\w\\", "*.txt", false);

    // After the first file, the others go away: the listing shows the
    // folder as it read it, and goes on without a message.
    run.Ui().OnDoEvents = [&] {
        std::filesystem::remove(run.Drives().Native("C:\\w\\goes1.txt"));
        std::filesystem::remove(run.Drives().Native("C:\\w\\goes2.txt"));
    };
    const std::string& report = run.List();

    EXPECT_NE(report.find(std::string("link.txt: a symbolic link, not listed.") + kCrLf),
              std::string::npos);
    EXPECT_NE(report.find(std::string("pipe.txt: not a regular file, not listed.") + kCrLf),
              std::string::npos);
    EXPECT_NE(report.find(std::string("goes1.txt (1 bytes)   ") + kCrLf), std::string::npos);
    EXPECT_EQ(run.Report().NumEntriesSkipped(), 2);
    EXPECT_NE(report.find(std::string("Number of files: 3") + kCrLf), std::string::npos);
    EXPECT_EQ(run.Ui().Boxes().size(), 0u) << "no message stops the listing";
    EXPECT_EQ(run.Drives().ReadFile("C:\\outside.txt"), "the link's target");
}

TEST(Listing, ASubfolderThatVanishesIsReported) {
    RunProgram run;
    run.Drives().WriteFile("C:\\v\\a.txt", "a");
    run.Drives().WriteFile("C:\\v\\b.txt", "b");
    run.Drives().WriteFile("C:\\v\\sub\\c.txt", "c");
    run.Select("C:\\v\\", "*.txt", true);
    run.Ui().OnDoEvents = [&] { std::filesystem::remove_all(run.Drives().Native("C:\\v\\sub")); };
    run.Ui().AnswerNextBox(ui::Answer::Yes);
    const std::string& report = run.List();
    EXPECT_NE(report.find("Cannot read folder C:\\v\\sub\\; its files are not listed."),
              std::string::npos);
    EXPECT_NE(report.find("Number of files: 2"), std::string::npos);
}

TEST(Listing, AFullReportEndsTheListingWithItsMessage) {
    RunProgram run;
    for (int i = 0; i < 150; ++i) {
        run.Drives().WriteFile("C:\\many\\file-" + std::to_string(1000 + i) + ".txt", "x");
    }
    run.Select("C:\\many\\", "*.txt", false);
    SetReportCapacityForTesting(3000);

    const std::string& report = run.List();

    EXPECT_EQ(run.Ui().LastBox().title, "Report buffer full");
    EXPECT_EQ(run.Ui().LastBox().text,
              "The output report buffer has been filled, so this report cannot continue.");
    EXPECT_NE(report.find(std::string(kCrLf) + kCrLf + "The output report buffer was filled." +
                          kCrLf + "Note: Some files were not listed." + kCrLf),
              std::string::npos);
    EXPECT_NE(report.find(std::string("File listing was stopped.") + kCrLf + kCrLf),
              std::string::npos);
    EXPECT_LT(Count(report, " bytes)"), 150);
    EXPECT_LE(report.size(), 3000u);
    EXPECT_TRUE(run.Report().blnStop);
}

TEST(Listing, PauseWaitsAndStopWhilePausedEndsTheListing) {
    RunProgram run;
    for (int i = 0; i < 5; ++i) run.Drives().WriteFile("C:\\p\\f" + std::to_string(i), "x");
    run.Select("C:\\p\\", "*", false);
    frmReport& report = run.Report();

    int calls = 0;
    run.Ui().OnDoEvents = [&] {
        ++calls;
        if (calls == 1) {
            EXPECT_EQ(report.cmdPauseContinue.Caption(), "Pause");
            EXPECT_TRUE(report.cmdPauseContinue.Visible());
            EXPECT_FALSE(report.cmdStop.Visible());
            EXPECT_FALSE(report.cmdClose.Visible());
            EXPECT_TRUE(run.Main().Clock.Enabled());
            report.cmdPauseContinue.RaiseClick();
        } else if (calls == 2) {
            EXPECT_TRUE(report.Paused());
            EXPECT_EQ(report.cmdPauseContinue.Caption(), "Continue");
            EXPECT_EQ(report.cmdPauseContinue.Width(), 1500);
            EXPECT_TRUE(report.cmdStop.Visible());
            EXPECT_EQ(report.lblPausedDone.Caption(), "Paused");
            EXPECT_FALSE(run.Main().Clock.Enabled()) << "the Clock rests while paused";
            EXPECT_EQ(report.txbText.Caption(), report.ReportText()) << "shown while paused";
            report.cmdStop.RaiseClick();
            EXPECT_EQ(report.lblPausedDone.Caption(), "Stopped");
            EXPECT_TRUE(report.cmdClose.Visible());
        }
    };
    const std::string& text = run.List();

    EXPECT_EQ(calls, 2) << "the run went no further after Stop";
    EXPECT_NE(text.find(std::string("File listing was stopped.") + kCrLf), std::string::npos);
    EXPECT_EQ(report.lblPausedDone.Caption(), "Stopped") << "kept through the copy at the end";
    EXPECT_TRUE(report.cmdClose.Visible());
    EXPECT_TRUE(report.cmdCopyToClipboard.Visible());
    EXPECT_FALSE(report.cmdPauseContinue.Visible());
    EXPECT_FALSE(run.Main().Clock.Enabled());
}

TEST(Listing, ContinueAfterPauseFinishesTheListing) {
    RunProgram run;
    for (int i = 0; i < 3; ++i) run.Drives().WriteFile("C:\\p\\f" + std::to_string(i), "x");
    run.Select("C:\\p\\", "*", false);
    int calls = 0;
    run.Ui().OnDoEvents = [&] {
        if (++calls <= 2) run.Report().cmdPauseContinue.RaiseClick();
    };
    const std::string& text = run.List();
    EXPECT_NE(text.find("Number of files: 3"), std::string::npos);
    EXPECT_EQ(text.find("stopped"), std::string::npos);
    EXPECT_FALSE(run.Report().Paused());
    EXPECT_EQ(run.Report().cmdPauseContinue.Caption(), "Pause");
}

TEST(Listing, TheEstimateCountsOverwritesAndItsThresholdsAreExact) {
    RunProgram run;
    const std::string heading =
        std::string("Estimated minimum purge time (assuming purge speed of 1 MB/sec.):") + kCrLf;
    // Exactly 10 seconds is no longer "less than 10 seconds".
    run.SetPurgeType(0, 1);
    EXPECT_NE(Estimate(run, "C:\\ten\\", 10u << 20).find(heading + "10 seconds" + kCrLf),
              std::string::npos);
    // Six overwrites a pass: 10 MB take 60 seconds, not 10.
    run.SetPurgeType(2, 1);
    EXPECT_NE(Estimate(run, "C:\\six\\", 10u << 20).find(heading + "1 minute" + kCrLf),
              std::string::npos);
    // From 300 seconds on the estimate rounds up to the next whole minute.
    run.SetPurgeType(0, 1);
    EXPECT_NE(Estimate(run, "C:\\five\\", 300u << 20)
                  .find(heading + "6 minutes.  The actual time could be greater than this."),
              std::string::npos);
    EXPECT_NE(Estimate(run, "C:\\four\\", 299u << 20)
                  .find(heading + "4 minutes and 59 seconds.  The actual time could be greater"),
              std::string::npos);
}
