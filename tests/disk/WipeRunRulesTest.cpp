// What a wipe's run purges whatever the setup says, and what it must keep:
// the setup's choice to keep purged files does not hold, a file whose names
// all lie in the wiped part is purged whatever its number of names, with
// top-level files kept only the top level is spared, and a partial dummy
// file the user chose to keep outlives the wipe that was cancelled.
#include <gtest/gtest.h>

#include "disk/FillLeftovers.h"
#include "disk/frmFillDisk.h"
#include "support/NativeFiles.h"
#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

using ui::Answer;

namespace {

class WipeRunRules : public ::testing::Test {
  protected:
    WipeRunRules() {
        wipe.Sizes().sizes['D'] = {3 << 20, 8 << 20};
        wipe.ChooseDrive('D');
    }
    // Every question answered so that the wipe goes on.
    void WipeD(std::vector<std::string> excluded, bool keepTopFiles) {
        wipe.Exclude(std::move(excluded), keepTopFiles);
        wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
        wipe.Wipe();
    }
    void Link(const std::string& from, const std::string& to) {
        ASSERT_TRUE(testing_support::MakeHardLink(wipe.Drives().Native(from),
                                                  wipe.Drives().Native(to)));
    }
    std::string Report() { return wipe.Run().Report().ReportText(); }
    std::string Record() {
        return native_files::ReadWholeFile(FillRecordPath(), 1 << 20).value_or("");
    }

    disk_testing::WipeProgram wipe;
};

TEST_F(WipeRunRules, TheSetupsChoiceToKeepPurgedFilesDoesNotHoldInAWipe) {
    wipe.Run().Options().blnDoNotDeletePurgedFiles = true;
    wipe.Drives().WriteFile("D:\\a.dat", "a");
    wipe.Drives().WriteFile("D:\\sub\\b.dat", "b");
    WipeD({}, false);
    EXPECT_EQ(wipe.Counting()->created, std::vector<std::string>{"dummy1"});
    EXPECT_FALSE(wipe.Drives().Exists("D:\\a.dat"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\sub"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\dummy1"));
    EXPECT_EQ(Record(), "");
}

TEST_F(WipeRunRules, AFileWithThreeNamesAllWipedIsPurged) {
    wipe.Drives().WriteFile("D:\\p\\one.dat", "three names, all wiped");
    wipe.Drives().MakeFolder("D:\\q");
    wipe.Drives().MakeFolder("D:\\r");
    Link("D:\\p\\one.dat", "D:\\q\\two.dat");
    Link("D:\\p\\one.dat", "D:\\r\\three.dat");
    WipeD({}, false);
    EXPECT_FALSE(wipe.Drives().Exists("D:\\p"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\q"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\r"));
    EXPECT_EQ(Report().find("other hard links"), std::string::npos) << Report();
}

TEST_F(WipeRunRules, WithTopLevelFilesKeptOnlyTheTopIsSparedAndItsNamesKeepTheirFiles) {
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\top.dat", "kept, and also named below");
    drives.WriteFile("D:\\sub\\other.dat", "wiped");
    drives.WriteFile("D:\\sub\\dummy5", "wiped, though named like a dummy file");
    Link("D:\\top.dat", "D:\\sub\\linked.dat");
    drives.WriteFile("D:\\p\\one.dat", "both names below the top, wiped");
    drives.MakeFolder("D:\\q");
    Link("D:\\p\\one.dat", "D:\\q\\two.dat");
    WipeD({}, true);
    EXPECT_EQ(drives.ReadFile("D:\\top.dat"), "kept, and also named below");
    EXPECT_EQ(drives.ReadFile("D:\\sub\\linked.dat"), "kept, and also named below");
    EXPECT_NE(Report().find("linked.dat: a file with other hard links, not purged."),
              std::string::npos)
        << Report();
    EXPECT_FALSE(drives.Exists("D:\\sub\\other.dat"));
    EXPECT_FALSE(drives.Exists("D:\\sub\\dummy5"));
    EXPECT_FALSE(drives.Exists("D:\\p"));
    EXPECT_FALSE(drives.Exists("D:\\q"));
    EXPECT_FALSE(drives.Exists("D:\\dummy1"));
}

TEST_F(WipeRunRules, APartialDummyFileTheUserKeepsOutlivesTheCancelledWipe) {
    wipe.Drives().WriteFile("D:\\a.dat", "a");
    wipe.Counting()->afterWrite = [this, pressed = false]() mutable {
        if (pressed) return;
        pressed = true;
        wipe.Run().Windows().FillDisk().RaiseKeyUp(frmFillDisk::kKeyF10);
    };
    wipe.Exclude({}, false);
    // Speed test? No; close applications, estimate, fill: OK; cancel the
    // fill? Yes; delete the dummy file written so far? No.
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::Yes, Answer::No});
    wipe.Wipe();
    EXPECT_EQ(wipe.Counting()->created, std::vector<std::string>{"dummy1"});
    EXPECT_TRUE(wipe.Drives().Exists("D:\\dummy1"));
    EXPECT_NE(Record().find("d:\\dummy1"), std::string::npos) << Record();
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\a.dat"), "a");
}

}  // namespace
