// A listing and a purge from a run value alone: no set of windows, no main
// window, only the report window and the windows the run may show.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/Forms.h"
#include "purge/NumberFormat.h"
#include "purge/PurgeRun.h"
#include "purge/RunHost.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmFileOps.h"
#include "purge/frmPurgeWarning.h"
#include "purge/frmReport.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

// The windows a run shows, made here, and what it tells the window that
// started it.
class TestRunHost : public RunHost {
  public:
    frmFileOps& FileOps() override { return fileOps; }
    frmAntiVirusQuery& AntiVirusQuery() override { return query; }
    frmPurgeWarning& PurgeWarning() override { return warning; }
    bool ConfirmFile(const std::string& shownPath, int, int) override {
        asked += shownPath + ";";
        return shownPath.find("yes") != std::string::npos;
    }
    void ShowEstimatedTime(const std::string& text) override { estimate = text; }

    frmFileOps fileOps;
    frmAntiVirusQuery query;
    frmPurgeWarning warning;
    std::string asked;
    std::string estimate;
};

class RunValue : public ::testing::Test {
  protected:
    RunValue() { SetNumberStyleForTesting(NumberStyle{}); }
    ~RunValue() override { SetNumberStyleForTesting(std::nullopt); }

    testing_support::ProgramFiles files;
    testing_support::HeadlessScope ui;
    frmReport report;
    TestRunHost host;
};

PurgeRun Listing(const std::string& folder, const std::string& spec) {
    PurgeRun run;
    run.blnListFiles = true;
    run.blnDisplayFolderNames = true;
    run.blnDisplayFileNames = true;
    run.strNextDirPath = folder;
    run.strCurrentFileSpec = spec;
    run.strTypeOfPurge = "random bytes, 3 times (= 3 overwrites)";
    return run;
}

PurgeRun Purge(const std::string& folder, const std::string& spec) {
    PurgeRun run;
    run.blnPurgeFiles = true;
    run.strNextDirPath = folder;
    run.strCurrentFileSpec = spec;
    run.intPurgeType = 0;
    run.strPurgeTypeNumPasses = "random bytes once";
    return run;
}

TEST_F(RunValue, AListingTakesItsFolderSubfoldersTypeAndSpeedsFromTheValue) {
    auto& drives = files.Drives();
    drives.WriteFile("C:\\L\\a.txt", "abc");
    drives.WriteFile("C:\\L\\b.doc", "12345");
    drives.WriteFile("C:\\L\\sub\\c.txt", "1234567");
    drives.WriteFile("C:\\L\\sub\\big.txt", "");
    ASSERT_TRUE(testing_support::MakeSparse(drives.Native("C:\\L\\sub\\big.txt"), 20 << 20));

    PurgeRun run = Listing("C:\\L\\", "*.txt");
    const RunOutcome flat = report.ProcessFiles(run, host);
    EXPECT_EQ(flat.lngNumFilesProcessed, 1) << "no subfolders unless the value says so";
    EXPECT_EQ(report.ReportText().find("c.txt"), std::string::npos);

    run.blnSubdirectories = true;
    run.intNumOverwrites = 3;
    run.sngPurgeSpeed['C' - 'A'] = 2.0f;
    const RunOutcome deep = report.ProcessFiles(run, host);
    const std::string& text = report.ReportText();
    EXPECT_EQ(deep.lngNumFilesProcessed, 3);
    EXPECT_EQ(deep.dblTotalFileBytes, 3 + 7 + (20 << 20));
    EXPECT_NE(text.find("c.txt (7 bytes)"), std::string::npos);
    EXPECT_EQ(text.find("b.doc"), std::string::npos);
    EXPECT_NE(text.find("Purge type: random bytes, 3 times (= 3 overwrites)\r\n"),
              std::string::npos);
    // 20 MB at 2 MB/sec., three times over.
    EXPECT_NE(text.find("based on measured purge speed of 2.000 MB/sec."), std::string::npos);
    EXPECT_EQ(host.estimate, "30 seconds");
    EXPECT_THROW(Forms(), std::logic_error) << "no set of windows was needed";
}

TEST_F(RunValue, APurgeFollowsTheOptionsAndTheConfirmationOfItsValue) {
    auto& drives = files.Drives();
    drives.WriteFile("C:\\P\\yes.txt", "secret");
    drives.WriteFile("C:\\P\\no.txt", "kept");
    drives.WriteFile("C:\\P\\sub\\deep.txt", "deep");

    // Overwritten but not deleted, and said so; each file asked about.
    PurgeRun run = Purge("C:\\P\\", "*.txt");
    run.blnConfirmFiles = true;
    run.blnDoNotDeletePurgedFiles = true;
    run.blnPurgeSlack = true;
    RunOutcome outcome = report.ProcessFiles(run, host);
    EXPECT_EQ(outcome.lngNumFilesPurged, 1);
    EXPECT_NE(host.asked.find("yes.txt"), std::string::npos);
    EXPECT_NE(host.asked.find("no.txt"), std::string::npos);
    EXPECT_TRUE(drives.Exists("C:\\P\\yes.txt"));
    EXPECT_NE(drives.ReadFile("C:\\P\\yes.txt"), "secret");
    EXPECT_EQ(drives.ReadFile("C:\\P\\no.txt"), "kept");
    EXPECT_NE(report.ReportText().find("Purging C:\\P\\*.txt using random bytes once.\r\n"),
              std::string::npos);
    EXPECT_NE(report.ReportText().find("Purged files not deleted."), std::string::npos);

    // Deleted, the subfolder too, and emptied folders removed.
    run.blnConfirmFiles = false;
    run.blnDoNotDeletePurgedFiles = false;
    run.blnSubdirectories = true;
    run.blnDeleteEmptyFolders = true;
    outcome = report.ProcessFiles(run, host);
    EXPECT_EQ(outcome.lngNumFilesPurged, 3);
    EXPECT_FALSE(drives.Exists("C:\\P\\no.txt"));
    EXPECT_FALSE(drives.Exists("C:\\P\\sub"));
    EXPECT_EQ(report.ReportText().find("Purged files not deleted."), std::string::npos);
    EXPECT_NE(report.ReportText().find("Number of folders removed: 1"), std::string::npos);
    EXPECT_THROW(Forms(), std::logic_error) << "no set of windows was needed";
}

}  // namespace
