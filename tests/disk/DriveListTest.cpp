// The drive dialog lists every drive of the drive table, the first letter
// to the last, each with the folder it stands for.
#include <gtest/gtest.h>

#include "disk/frmSpecifyDrive.h"
#include "tests/purge/RunTestSupport.h"

namespace {

TEST(DriveList, RunsFromAToZ) {
    run_testing::RunProgram run("ACDZ");
    frmSpecifyDrive dialog;
    dialog.ListDrives();
    const auto& drives = run.Drives();
    const std::vector<std::string> expected = {
        "a:  " + drives.Root('A'), "c:  " + drives.Root('C'), "d:  " + drives.Root('D'),
        "z:  " + drives.Root('Z')};
    EXPECT_EQ(dialog.Drive.Items(), expected);
    EXPECT_TRUE(dialog.SetCurrentDrive("Z:\\"));
    EXPECT_EQ(dialog.CurrentDrive(), "z:");
    EXPECT_FALSE(dialog.SetCurrentDrive("B:"));
}

}  // namespace
