// What the main window adds to its runs, shown on a purge: its menus wait
// while the run goes on, the purge confirmation opens below the purge
// button and the report beside the window, and the cluster size chosen at
// the confirmation is the one the purge uses and the window keeps.
#include <gtest/gtest.h>

#include "tests/purge/RunTestSupport.h"

using run_testing::RunProgram;

namespace {

// Whether the main window's menus could be used, at any pause of a run,
// while the report window showed it.
class MenuWatch {
  public:
    explicit MenuWatch(RunProgram& run) : run_(run) {
        run.Ui().OnDoEvents = [this] {
            frmMain& main = run_.Main();
            if (run_.Report().Visible()) {
                usable = usable || main.fraMenu.Enabled() || main.fraSetup.Enabled();
            }
        };
    }
    ~MenuWatch() { run_.Ui().OnDoEvents = nullptr; }

    bool usable = false;

  private:
    RunProgram& run_;
};

}  // namespace

TEST(MainWindowRuns, APurgeOpensItsDialogsBesideTheWindowAndUsesTheClusterSizeChosen) {
    RunProgram run;
    run.Drives().WriteFile("C:\\d\\a.txt", "1");
    run.Drives().WriteFile("C:\\d\\b.txt", "2");
    run.Select("C:\\d\\", "*.txt", false);
    frmMain& main = run.Main();
    main.MoveTo(1200, 900);
    MenuWatch menus(run);
    frmPurgeConfirmation& dialog = run.Options();
    run.Ui().OnModal("frmPurgeConfirmation", [&](ui::Form&) {
        const ui::Control& button = main.cmdProcessFiles(1);
        EXPECT_EQ(dialog.Left(), main.Left() + main.fraMenu.Left() + button.Left());
        EXPECT_EQ(dialog.Top(), main.Top() + main.fraMenu.Top() + button.Top() + 400);
        EXPECT_FALSE(main.fraMenu.Enabled());
        EXPECT_EQ(main.intNumFiles, 2);
        dialog.cboClusterSize.UserSetsValue(6);  // 32 KB
        dialog.cmdDoPurge.RaiseClick();
    });

    main.cmdProcessFiles(1).RaiseMouseUp();

    EXPECT_FALSE(run.Drives().Exists("C:\\d\\a.txt"));
    EXPECT_EQ(run.Report().Left(), main.Left() + main.Width());
    EXPECT_EQ(run.Report().Top(), main.Top());
    EXPECT_EQ(run.Report().Run().lngClusterSizeByDrive[2], 32768);
    EXPECT_EQ(main.lngClusterSizeByDrive[2], 32768) << "kept for the next purge";
    EXPECT_FALSE(menus.usable);
    EXPECT_TRUE(main.fraMenu.Enabled());
    EXPECT_TRUE(main.fraSetup.Enabled());
    EXPECT_TRUE(run.Report().txbText.HasFocus());
}
