// The listing and the purge of a selection, with no main window: the
// steps a window adds run in their place, the run takes what they give it,
// and a refused or cancelled run does not start them.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/SelectionRuns.h"
#include "app/frmTypeOfPurge.h"
#include "purge/NumberFormat.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "support/ProgramText.h"
#include "tests/testsupport/ProgramHarness.h"

namespace {

// Writes down each step as it comes, with what it was handed.
class RecordedSteps : public SelectionRunSteps {
  public:
    void Begin() override { steps.push_back("Begin"); }
    void End() override { steps.push_back("End"); }
    std::array<std::int32_t, 26>& ClusterSizeTable(Selection&) override { return clusterSizes; }
    void ConfirmationOpening(frmPurgeConfirmation& confirmation) override {
        steps.push_back("ConfirmationOpening " + std::to_string(confirmation.intNumFiles) +
                        (confirmation.strPurgeConfirmationMessage.empty() ? " unasked" : ""));
    }
    void ReportOpening(frmReport& report) override {
        steps.push_back("ReportOpening " + report.Caption() + (report.Visible() ? " shown" : ""));
    }
    void RunReady(PurgeRun& run) override {
        steps.push_back("RunReady");
        run.strTypeOfPurge = "as the window shows it";
    }
    void Purged(const PurgeRun&, const RunOutcome& outcome) override {
        steps.push_back("Purged " + std::to_string(outcome.lngNumFilesPurged));
    }

    std::vector<std::string> steps;
    std::array<std::int32_t, 26> clusterSizes{};
};

class SelectionRuns : public ::testing::Test {
  protected:
    SelectionRuns() {
        SetNumberStyleForTesting(NumberStyle{});
        LoadProgramText("kz_text.dat");
        Windows().SetStartupCompleted();
        program.Ui().OnModal("frmAntiVirusQuery", [](ui::Form& form) {
            static_cast<frmAntiVirusQuery&>(form).cmdNo.RaiseClick();
        });
        program.Drives().WriteFile("C:\\d\\a.txt", "one");
        program.Drives().WriteFile("C:\\d\\b.txt", "two");
        program.Drives().WriteFile("C:\\d\\sub\\c.txt", "three");
    }
    ~SelectionRuns() override { SetNumberStyleForTesting(std::nullopt); }

    FormSet& Windows() { return program.Windows(); }
    frmPurgeConfirmation& Confirmation() { return Windows().PurgeConfirmation(); }
    static Selection Of(const std::string& spec, bool subfolders) {
        Selection selection;
        selection.strFolderPath = "C:\\d\\";
        selection.strFileSpec = spec;
        selection.blnSubdirectories = subfolders;
        return selection;
    }

    // Never started: there is no main window, and no purge type dialog.
    testing_support::ProgramHarness program;
    RecordedSteps window;
    PurgeTypeChoice type;
    PurgeOptions boxes;
};

TEST_F(SelectionRuns, APurgeRunsTheWindowsStepsInOrderWithItsClusterSizes) {
    Selection selection = Of("*.txt", false);
    selection.lngClusterSizeByDrive[2] = 1024;
    window.clusterSizes[2] = 16384;
    type = {0, 2};
    const int dialogsMade = frmTypeOfPurge::InstancesMade();
    auto* const tableBefore = Confirmation().lngClusterSizeByDrive;
    bool asked = false;
    program.Ui().OnModal("frmPurgeConfirmation", [&](ui::Form&) {
        asked = true;
        EXPECT_EQ(frmPurgeConfirmation::kClusterSizes[Confirmation().cboClusterSize.Value()], 16384)
            << "the window's table, not the selection's";
        Confirmation().cmdDoPurge.RaiseClick();
    });

    PurgeSelection(selection, type, boxes, Windows(), window);

    ASSERT_TRUE(asked);
    EXPECT_EQ(window.steps, (std::vector<std::string>{"Begin", "ConfirmationOpening 2",
                                                      "ReportOpening Purge files", "RunReady",
                                                      "Purged 2", "End"}));
    EXPECT_FALSE(program.Drives().Exists("C:\\d\\a.txt"));
    EXPECT_FALSE(program.Drives().Exists("C:\\d\\b.txt"));
    EXPECT_TRUE(program.Drives().Exists("C:\\d\\sub\\c.txt"));
    const PurgeRun& run = Windows().Report().Run();
    EXPECT_TRUE(run.blnPurgeFiles);
    EXPECT_EQ(run.strTypeOfPurge, "as the window shows it");
    EXPECT_EQ(run.intPurgeType, 0) << "the type handed to the purge";
    EXPECT_EQ(run.intNumberOfPasses, 2);
    EXPECT_EQ(run.intNumOverwrites, 2);
    EXPECT_EQ(run.strPurgeTypeNumPasses, "random bytes twice");
    EXPECT_EQ(frmTypeOfPurge::InstancesMade(), dialogsMade);
    EXPECT_EQ(run.lngClusterSizeByDrive[2], 16384) << "the sizes the confirmation kept";
    EXPECT_EQ(selection.lngClusterSizeByDrive[2], 16384);
    EXPECT_EQ(Confirmation().lngClusterSizeByDrive, tableBefore)
        << "the confirmation lets go of the table the run lent it";
}

TEST_F(SelectionRuns, AListingRunsTheWindowsStepsAroundTheRun) {
    program.Ui().AnswerNextBox(ui::Answer::Yes);  // "Display folder names?"

    ListSelection(Of("*.txt", true), type, PurgeOptions{}, Windows(), "Kestrane", window);

    EXPECT_EQ(program.Ui().LastBox().text, "Display folder names?");
    EXPECT_EQ(window.steps, (std::vector<std::string>{"Begin", "RunReady",
                                                      "ReportOpening Estimate purge time", "End"}));
    const PurgeRun& run = Windows().Report().Run();
    EXPECT_TRUE(run.blnListFiles);
    EXPECT_TRUE(run.blnDisplayFolderNames);
    EXPECT_FALSE(run.blnDisplayFileNames);
    EXPECT_EQ(run.strTypeOfPurge, "as the window shows it");
    EXPECT_NE(Windows().Report().ReportText().find("C:\\d\\sub\\"), std::string::npos);
    EXPECT_TRUE(program.Drives().Exists("C:\\d\\a.txt"));
}

TEST_F(SelectionRuns, ARefusedOrCancelledRunLeavesTheWindowAsItWas) {
    Selection missing = Of("z.txt", false);
    PurgeSelection(missing, type, boxes, Windows(), window);
    EXPECT_EQ(program.Ui().LastBox().text, "File z.txt not found.");
    EXPECT_EQ(program.Ui().LastBox().title, "Purge files");
    ListSelection(missing, type, PurgeOptions{}, Windows(), "Kestrane", window);
    EXPECT_EQ(program.Ui().LastBox().title, "Kestrane");
    program.Ui().AnswerNextBox(ui::Answer::Cancel);  // "Display folder names?"
    ListSelection(Of("*.*", true), type, PurgeOptions{}, Windows(), "Kestrane", window);
    EXPECT_TRUE(window.steps.empty()) << "nothing began";

    Selection selection = Of("*.txt", true);
    program.Ui().OnModal("frmPurgeConfirmation",
                         [&](ui::Form&) { Confirmation().cmdCancel.RaiseClick(); });
    PurgeSelection(selection, type, boxes, Windows(), window);
    EXPECT_EQ(program.Ui().LastBox().text, "No files purged.");
    EXPECT_EQ(window.steps, (std::vector<std::string>{"Begin", "ConfirmationOpening 2", "End"}));
    EXPECT_FALSE(Windows().Report().Visible());
    EXPECT_TRUE(program.Drives().Exists("C:\\d\\a.txt"));
    EXPECT_TRUE(program.Drives().Exists("C:\\d\\sub\\c.txt"));
}

}  // namespace
