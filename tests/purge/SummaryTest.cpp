// The purge summary's numbers against values worked out by hand: which
// passes count towards the purge time, when the time and the totals are
// shown, and how emptied folders are counted; and the report's capacity.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/frmConfirmFiles.h"
#include "purge/ReportText.h"
#include "tests/purge/RunTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

using run_testing::FakeLibrary;
using run_testing::RunProgram;

namespace {

const char* const kCrLf = "\r\n";

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(Summary, OverwrittenButNotDeletedFilesCountTowardsThePurgeTime) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    FakeLibrary library;
    library.secondsPerCall = 7;
    library.codes = {{"a.txt", -4}, {"b.txt", -5}, {"c.txt", -6}, {"d.txt", -3}};
    for (const auto& [name, code] : library.codes) run.Drives().WriteFile("C:\\t\\" + name, "x");
    run.Select("C:\\t\\", "*.*", false);
    const std::string& report = run.Purge();
    // Three files overwritten but kept: 21 seconds; the write error adds none.
    EXPECT_TRUE(Has(report, std::string("Total purge time: 21 seconds") + kCrLf)) << report;
    EXPECT_TRUE(Has(report, std::string("Number of files: 4") + kCrLf +
                                "Number of files purged: 0" + kCrLf));
    EXPECT_FALSE(Has(report, "Total KB")) << "no total without slack or two purged files";
}

TEST(Summary, OneSecondIsNoPurgeTimeAndOnePurgedFileNoTotal) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    FakeLibrary library;
    library.secondsPerCall = 1;
    library.secondsOfRealCalls = 0;
    library.codes = {{"kept.txt", -4}};
    run.Drives().WriteFile("C:\\t\\kept.txt", "x");
    run.Drives().WriteFile("C:\\t\\gone.txt", "y");
    run.Select("C:\\t\\", "*.*", false);
    const std::string& report = run.Purge();
    EXPECT_FALSE(Has(report, "Total purge time")) << report;
    EXPECT_FALSE(Has(report, "Total KB")) << "one purged file without slack has no total";
    EXPECT_TRUE(Has(report, std::string("Number of files purged: 1") + kCrLf));

    // The single matching file purged: neither count is written.
    run.Drives().WriteFile("C:\\one\\only.txt", "z");
    run.Select("C:\\one\\", "only.txt", false);
    const std::string& single = run.Purge();
    EXPECT_FALSE(Has(single, "Number of files")) << single;
    EXPECT_TRUE(Has(single, "only.txt (1 bytes) purged."));
}

TEST(Summary, TheStartingFolderStaysEvenWhenEmptied) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    run.Drives().WriteFile("C:\\start\\x\\y.txt", "1");
    run.Drives().WriteFile("C:\\start\\z.txt", "2");
    run.Select("C:\\start\\", "*.*", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);
    const std::string& report = run.Purge();
    EXPECT_TRUE(std::filesystem::is_empty(run.Drives().Native("C:\\start")));
    EXPECT_TRUE(run.Drives().Exists("C:\\start"));
    EXPECT_TRUE(Has(report, std::string("Number of folders removed: 1") + kCrLf)) << report;
}

TEST(Summary, AFolderThatCannotBeRemovedIsNotCounted) {
    if (!testing_support::RunsAsAdministrator()) GTEST_SKIP() << "needs root to make a folder immutable";
    RunProgram run;
    run.SetPurgeType(0, 1);
    run.Drives().WriteFile("C:\\fixed\\sub\\f.txt", "1");
    const std::string fixed = run.Drives().Native("C:\\fixed");
    // An immutable folder keeps its entries: its emptied subfolder cannot go.
    if (!Shell("chattr +i '" + fixed + "'")) GTEST_SKIP() << "no immutable folders here";
    run.Select("C:\\fixed\\", "*.*", true);
    run.Options().chkDeleteEmptyFolders.SetValue(1);
    const std::string report = run.Purge();
    Shell("chattr -i '" + fixed + "'");
    EXPECT_FALSE(run.Drives().Exists("C:\\fixed\\sub\\f.txt"));
    EXPECT_TRUE(run.Drives().Exists("C:\\fixed\\sub"));
    EXPECT_FALSE(Has(report, "removed")) << report;
}

TEST(ReportCapacity, SixtyFourMebibytesFilledToTheLastByte) {
    SetReportCapacityForTesting(0);
    EXPECT_EQ(ReportCapacity(), 67108864u);
    SetReportCapacityForTesting(8);
    ReportText text;
    text.Append("12345678");  // exactly full
    EXPECT_EQ(text.Text(), "12345678");
    EXPECT_THROW(text.Append("9"), ReportText::Full);
    SetReportCapacityForTesting(0);
}

TEST(Summary, StopThisPurgeInTheConfirmationEndsTheRun) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        run.Drives().WriteFile(std::string("C:\\f\\") + name, name);
    }
    run.Select("C:\\f\\", "*.txt", false);
    run.Main().blnConfirmFiles = true;
    int asked = 0;
    run.Ui().OnModal("frmConfirmFiles", [&](ui::Form& form) {
        auto& confirm = static_cast<frmConfirmFiles&>(form);
        ++asked == 1 ? confirm.cmdYes.RaiseClick() : confirm.cmdStopPurge.RaiseClick();
    });
    const std::string& report = run.Purge();
    EXPECT_EQ(asked, 2) << "nothing is asked after the stop";
    EXPECT_TRUE(Has(report, std::string("Number of files purged: 1") + kCrLf)) << report;
    EXPECT_TRUE(Has(report, std::string("Purge operation was stopped.") + kCrLf + kCrLf));
    int left = 0;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        left += run.Drives().Exists(std::string("C:\\f\\") + name);
    }
    EXPECT_EQ(left, 2);
}

TEST(Summary, AStoppedListingEstimatesMoreThanItSaw) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    run.WriteSparseFile("C:\\s\\a.bin", 100 << 20);  // 100 seconds at 1 MB/sec.
    run.WriteSparseFile("C:\\s\\b.bin", 100 << 20);
    run.Select("C:\\s\\", "*.*", false);
    run.Ui().OnDoEvents = [&] {
        if (run.Report().NumFilesProcessed() == 1 && !run.Report().blnStop) {
            run.Report().cmdStop_Click();
        }
    };
    const std::string& report = run.List();
    EXPECT_TRUE(Has(report, std::string("File listing was stopped.") + kCrLf)) << report;
    EXPECT_TRUE(Has(report, std::string("more than 1 minute and 40 seconds.  The actual time could "
                                        "be greater than this.") +
                                kCrLf))
        << report;
    EXPECT_EQ(run.Main().lblEstimatedTime.Caption(), "") << "a stopped listing sets no estimate";
}

TEST(Summary, ASingleFileNotPurgedStillCountsNone) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    FakeLibrary library;
    library.codes = {{"one.txt", -3}};
    run.Drives().WriteFile("C:\\u\\one.txt", "x");
    run.Select("C:\\u\\", "one.txt", false);
    const std::string& report = run.Purge();
    EXPECT_TRUE(Has(report, std::string("Number of files purged: 0") + kCrLf)) << report;
}

TEST(Summary, OnePassShowsNoProgressMarks) {
    RunProgram run;
    run.WriteSparseFile("C:\\p\\big.dat", 4u << 20);  // four seconds at 1 MB/sec.
    run.Select("C:\\p\\", "big.dat", false);
    std::vector<std::string> duringPasses;
    FakeLibrary library;
    library.onCall = [&](const std::string&) {
        const std::string& text = run.Report().ReportText();
        duringPasses.push_back(text.substr(text.rfind("bytes)")));
    };
    run.SetPurgeType(0, 1);
    run.Purge();
    run.WriteSparseFile("C:\\p\\big.dat", 4u << 20);
    run.Select("C:\\p\\", "big.dat", false);  // a purge empties the selection
    run.SetPurgeType(0, 2);
    run.Purge();
    EXPECT_EQ(duringPasses,
              (std::vector<std::string>{"bytes) purging", "bytes) purging __", "bytes) purging 1_"}));
}

TEST(ReportCapacity, AFullListingLosesExactlyItsLast1024Characters) {
    RunProgram run;
    for (int i = 0; i < 200; ++i) {
        run.Drives().WriteFile("C:\\many\\file-" + std::to_string(1000 + i) + ".txt", "x");
    }
    run.Select("C:\\many\\", "*.*", false);
    // "C:\many\" and a line break, then lines of 28 bytes: 2,978 bytes fit.
    SetReportCapacityForTesting(3000);
    run.Ui().AnswerNextBox(ui::Answer::OK);
    const std::string report = run.List();
    SetReportCapacityForTesting(0);
    EXPECT_EQ(report.find(std::string(kCrLf) + kCrLf + "The output report buffer was filled."),
              2978u - 1024u)
        << report;
}
