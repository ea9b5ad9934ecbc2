// The disk wipe, headless, on a drive D mapped to a temporary folder: the
// texts it composes, the order of its questions, what a whole wipe leaves
// (only excluded files, no dummy file), what a cancelled one leaves, hard
// links, lost+found, the refusal of the program's own drive, and that its
// exclusions do not outlive it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "disk/FillLeftovers.h"
#include "disk/frmFillDisk.h"
#include "purge/frmAntiVirusQuery.h"
#include "support/NativeFiles.h"
#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/SpecialFiles.h"

using ui::Answer;

namespace {

TEST(WipeTexts, TheSelectionCaptionNamesWhatIsLeft) {
    EXPECT_EQ(WipeSelectionCaption('D', false, 0), "Purging all files on Drive D.");
    EXPECT_EQ(WipeSelectionCaption('D', true, 0),
              "Purging all files on Drive D except top-level files .");
    EXPECT_EQ(WipeSelectionCaption('D', false, 1),
              "Purging all files on Drive D except those in 1 excluded folder.");
    EXPECT_EQ(WipeSelectionCaption('D', true, 2),
              "Purging all files on Drive D except top-level files and those in 2 excluded "
              "folders.");
}

TEST(WipeTexts, TheFillIsAnnouncedForOneOrManyFilesWithAnEstimateFrom20MB) {
    SetNumberStyleForTesting(NumberStyle{});
    EXPECT_NE(FillAnnouncement("D:", 3000000000.0, 0).find("Dummy files will now be written"),
              std::string::npos);
    const std::string one = FillAnnouncement("D:", 2146435072.0, 0);
    EXPECT_NE(one.find("A dummy file will now be written"), std::string::npos);
    EXPECT_NE(one.find("Assuming a disk write speed of 1 MB/sec"), std::string::npos);
    EXPECT_NE(one.find("test the purge speed for Drive D:."), std::string::npos);

    const std::string small = FillAnnouncement("D:", 20971519.0, 2.5f);
    EXPECT_EQ(small.find("Assuming"), std::string::npos);
    EXPECT_EQ(small.substr(small.size() - 45), "Click on 'OK' to proceed or 'Cancel' to stop.");
    EXPECT_NE(FillAnnouncement("D:", 20971520.0, 2.5f).find("write speed of 2.500 MB/sec"),
              std::string::npos);
    SetNumberStyleForTesting(std::nullopt);
}

class DiskWipe : public ::testing::Test {
  protected:
    DiskWipe() {
        wipe.Sizes().sizes['D'] = {3 << 20, 8 << 20};
        wipe.ChooseDrive('D');
    }
    std::string Report() { return wipe.Run().Report().ReportText(); }
    bool NoDummyFileLeft() {
        return !wipe.Drives().Exists("D:\\dummy1") &&
               native_files::ReadWholeFile(FillRecordPath(), 1 << 20).value_or("") == "";
    }

    disk_testing::WipeProgram wipe;
};

TEST_F(DiskWipe, AWholeWipeLeavesOnlyTheExcludedFilesAndNoDummyFile) {
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\top.dat", "top");
    drives.WriteFile("D:\\a\\b\\deep.dat", "deep");
    drives.WriteFile("D:\\keep\\k.dat", "kept exactly");
    drives.WriteFile("D:\\keep\\sub\\k2.dat", "kept too");
    drives.WriteFile("D:\\Keeper\\no.dat", "a sibling whose name begins alike");
    wipe.Exclude({"D:\\keep"}, false);
    // Speed test? No; close applications: OK; estimate: OK; fill: OK; ready: OK.
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();

    EXPECT_EQ(wipe.Counting()->created, std::vector<std::string>{"dummy1"});
    EXPECT_TRUE(NoDummyFileLeft());
    EXPECT_FALSE(drives.Exists("D:\\top.dat"));
    EXPECT_FALSE(drives.Exists("D:\\a"));
    EXPECT_FALSE(drives.Exists("D:\\Keeper"));
    EXPECT_EQ(drives.ReadFile("D:\\keep\\k.dat"), "kept exactly");
    EXPECT_EQ(drives.ReadFile("D:\\keep\\sub\\k2.dat"), "kept too");

    EXPECT_EQ(wipe.Run().Report().Caption(), "Wipe disk D:");
    EXPECT_NE(Report().find("Except that files in the following folder\r\n(and in all "
                            "subfolders) will not be purged:\r\nD:\\keep\r\n"),
              std::string::npos)
        << Report();
    EXPECT_NE(Report().find("D:\\keep\\ is an excluded folder."), std::string::npos) << Report();
    EXPECT_FALSE(wipe.Main().blnWipeDisk);
    EXPECT_TRUE(wipe.Main().lblDirectory(0).Visible());
    EXPECT_EQ(wipe.Main().strLastDrive, "D:");
}

// A window left on the whole drive would offer to purge all of it next.
TEST_F(DiskWipe, AfterTheRunTheWindowShowsTheUsersOwnSelectionAgain) {
    wipe.Drives().WriteFile("C:\\docs\\sub\\a.txt", "a");
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Run().Select("C:\\docs\\", "*.txt", true);
    frmMain& main = wipe.Main();
    main.ShowSubfolderSetting();
    main.blnConfirmFiles = true;
    main.ShowConfirmFilesSetting();
    main.lblSetupFilename.SetCaption("C:\\ops\\monthly.kzs");
    auto& options = wipe.Run().Options();
    options.blnFolderNamesOnly = false;
    options.blnDeleteEmptyFolders = false;
    const std::string subfolders = main.lblSubdirectories2.Caption();

    bool armedOnTheDrive = false;
    run_testing::FakeLibrary library;
    library.onCall = [&](const std::string&) {
        armedOnTheDrive =
            main.strFolderPath[0] == "D:\\" && wipe.Run().Report().Run().blnFolderNamesOnly;
    };
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();

    ASSERT_TRUE(armedOnTheDrive) << "the run itself covered the drive";
    EXPECT_FALSE(wipe.Drives().Exists("D:\\x.dat"));
    EXPECT_EQ(main.strFolderPath[0], "C:\\docs\\");
    EXPECT_EQ(main.strFileSpec[0], "*.txt");
    EXPECT_EQ(main.lblFiles(0).Caption(), "*.txt");
    EXPECT_TRUE(main.blnSubdirectories);
    EXPECT_EQ(main.lblSubdirectories2.Caption(), subfolders);
    EXPECT_TRUE(main.blnConfirmFiles);
    EXPECT_EQ(main.lblConfirmFiles.Caption(), "Yes");
    EXPECT_EQ(main.lblSetupFilename.Caption(), "C:\\ops\\monthly.kzs");
    EXPECT_FALSE(options.blnFolderNamesOnly);
    EXPECT_FALSE(options.blnDeleteEmptyFolders);
    EXPECT_EQ(wipe.Drives().ReadFile("C:\\docs\\sub\\a.txt"), "a");

    // The last question before the run: Enter alone answers Cancel.
    const auto& boxes = wipe.Ui().Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text.rfind("Now ready to wipe the disk in Drive D:", 0), 0u);
    EXPECT_EQ(boxes.back().defaultButton, 2);
}

TEST_F(DiskWipe, KeptTopLevelFilesStayWhileTheDummyFilesArePurged) {
    wipe.Drives().WriteFile("D:\\top.dat", "top");
    wipe.Drives().WriteFile("D:\\dummy7", "a user's file named like a dummy file");
    wipe.Exclude({}, true);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    // The root has no subfolders: the run says so.
    std::string subfolders;
    run_testing::FakeLibrary library;
    library.onCall = [&](const std::string&) {
        subfolders = wipe.Main().lblSubdirectories.Caption() + " " +
                     wipe.Main().lblSubdirectories2.Caption();
    };
    wipe.Wipe();
    EXPECT_EQ(subfolders, "No (The folder has no subfolders.)");
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\top.dat"), "top");
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\dummy7"), "a user's file named like a dummy file");
    EXPECT_EQ(wipe.Counting()->created, std::vector<std::string>{"dummy1"});
    EXPECT_TRUE(NoDummyFileLeft());
}

TEST_F(DiskWipe, WithoutFreeSpaceThereIsNoFillStep) {
    wipe.Sizes().sizes['D'] = {0, 8 << 20};
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();
    auto boxes = wipe.WipeBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].rfind("Now ready to wipe the disk in Drive D:", 0), 0u);
    EXPECT_TRUE(wipe.Counting()->created.empty());
    EXPECT_FALSE(wipe.Drives().Exists("D:\\x.dat"));
}

TEST_F(DiskWipe, TheEstimateRecommendsASpeedTestForAnUnmeasuredDrive) {
    wipe.Run().SetPurgeType(0, 1);
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::Cancel});
    wipe.Wipe();
    auto boxes = wipe.WipeBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].rfind("It is recommended to test the purge speed for Drive D:", 0), 0u);
    EXPECT_NE(boxes[2].find("Assuming a disk write speed of 1 MB/sec and 1 overwrite\r\n"),
              std::string::npos)
        << boxes[2];
    EXPECT_NE(boxes[2].find("test the purge speed for Drive D:."), std::string::npos);
}

TEST_F(DiskWipe, CancelAtTheAntiVirusAdviceShowsTheSelectionAgainAsItWas) {
    wipe.Run().Select("C:\\", "*.*", false);
    const std::string files = wipe.Main().lblFiles(0).Caption();
    wipe.Ui().OnModal("frmAntiVirusQuery", [](ui::Form& form) {
        static_cast<frmAntiVirusQuery&>(form).cmdYes.RaiseClick();
    });
    wipe.Exclude({}, false);
    wipe.Answer({Answer::Cancel});
    wipe.Wipe();
    EXPECT_EQ(wipe.Ui().LastBox().text.rfind("If Drive D: has files with extensions", 0), 0u);
    EXPECT_TRUE(wipe.Main().lblFiles(0).Visible());
    EXPECT_TRUE(wipe.Main().lblDirectory(0).Visible());
    EXPECT_EQ(wipe.Main().lblFiles(0).Caption(), files);
}

TEST_F(DiskWipe, AFillThatFailsEndsTheWipeBeforeItsRunWithNothingPurged) {
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Counting()->failAfter = 1 << 20;
    wipe.Wipe();
    ASSERT_FALSE(wipe.WipeBoxes().empty());
    EXPECT_NE(wipe.WipeBoxes().back().find("Drive D: cannot be filled, so the disk is not wiped."
                                           "\r\nError: Input/output error"),
              std::string::npos)
        << wipe.WipeBoxes().back();
    EXPECT_EQ(Report(), "");
    EXPECT_TRUE(NoDummyFileLeft());
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\x.dat"), "x");
}

// Copy-on-write: an overwrite in place needs free space, so the dummy
// files go before the run, and a fill after it reaches the old copies.
TEST_F(DiskWipe, OnCopyOnWriteTheDummyFilesGoBeforeTheRunAndTheFreeSpaceIsFilledAgainAfterIt) {
#ifdef _WIN32
    wipe.Sizes().fileSystems['D'] = "ReFS";
#else
    wipe.Sizes().fileSystems['D'] = "btrfs";
#endif
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Reserve().freeAfterwards = 1 << 20;
    run_testing::FakeLibrary library;
    std::vector<std::string> purged;
    library.onCall = [&](const std::string& name) { purged.push_back(name); };
    wipe.Run().SetPurgeType(0, 1);
    wipe.Wipe();
    EXPECT_EQ(purged, std::vector<std::string>{"x.dat"});
    EXPECT_EQ(wipe.Counting()->created, (std::vector<std::string>{"dummy1", "dummy1"}));
    EXPECT_EQ(wipe.Counting()->steps,
              (std::vector<std::string>{"sync", "delete dummy1", "sync", "sync", "delete dummy1"}));
    EXPECT_NE(Report().find("The dummy files were deleted without being overwritten"),
              std::string::npos)
        << Report();
    EXPECT_NE(Report().find("The free space was filled once more after the run"),
              std::string::npos);
    EXPECT_TRUE(NoDummyFileLeft());

    // A fill after the run that fails says so.
    wipe.Counting()->capacity = UINT64_MAX;
    wipe.Drives().WriteFile("D:\\y.dat", "y");
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    library.onCall = [&](const std::string&) { wipe.Counting()->failAfter = 0; };
    wipe.Wipe();
    EXPECT_NE(Report().find("could not be filled once more after the run: Input/output error"),
              std::string::npos)
        << Report();
    EXPECT_TRUE(NoDummyFileLeft());
}

// Where metadata takes whole clusters, the fill after the run is the last to
// write, so its files must own no cluster of extent tree of their own.
TEST_F(DiskWipe, WhereMetadataTakesWholeClustersOnlyTheFillAfterTheRunOwnsNoMetadata) {
    wipe.Counting()->metadataTakesWholeClusters = true;
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Reserve().freeAfterwards = 1 << 20;
    wipe.Wipe();
    EXPECT_EQ(wipe.Counting()->created, (std::vector<std::string>{"dummy1", "dummy1"}));
    EXPECT_EQ(wipe.Counting()->createdOwningNoMetadata, std::vector<std::string>{"dummy1"});
    EXPECT_NE(Report().find("The free space was filled once more after the run"), std::string::npos)
        << Report();
    EXPECT_FALSE(wipe.Run().Windows().FillDisk().blnOwnNoMetadata);
    EXPECT_TRUE(NoDummyFileLeft());
}

TEST_F(DiskWipe, ACancelAfterTheFillLeavesNoDummyFile) {
    wipe.Drives().WriteFile("D:\\x.dat", "x");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::Cancel});
    wipe.Wipe();
    EXPECT_EQ(wipe.Counting()->created, std::vector<std::string>{"dummy1"});
    EXPECT_TRUE(NoDummyFileLeft());
    EXPECT_EQ(wipe.Drives().ReadFile("D:\\x.dat"), "x");
}

TEST_F(DiskWipe, AStopDuringTheRunDeletesTheDummyFilesItDidNotReach) {
    wipe.Drives().WriteFile("D:\\a.dat", "a");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    run_testing::FakeLibrary library;
    library.onCall = [this](const std::string&) { wipe.Run().Report().blnStop = true; };
    wipe.Wipe();
    EXPECT_TRUE(wipe.Run().Report().blnStop);
    EXPECT_TRUE(NoDummyFileLeft());
}

TEST_F(DiskWipe, AFileLinkedFromAnExcludedFolderStaysWholeAndOneLinkedOnlyInsideIsPurged) {
    auto& drives = wipe.Drives();
    drives.WriteFile("D:\\keep\\inside.dat", "shared with an excluded folder");
    drives.MakeFolder("D:\\x");
    ASSERT_TRUE(testing_support::MakeHardLink(drives.Native("D:\\keep\\inside.dat"),
                                              drives.Native("D:\\x\\outside.dat")));
    drives.WriteFile("D:\\p\\one.dat", "both names are wiped");
    drives.MakeFolder("D:\\q");
    ASSERT_TRUE(testing_support::MakeHardLink(drives.Native("D:\\p\\one.dat"),
                                              drives.Native("D:\\q\\two.dat")));
    wipe.Exclude({"D:\\keep"}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();

    EXPECT_EQ(drives.ReadFile("D:\\keep\\inside.dat"), "shared with an excluded folder");
    EXPECT_EQ(drives.ReadFile("D:\\x\\outside.dat"), "shared with an excluded folder");
    EXPECT_NE(Report().find("outside.dat: a file with other hard links, not purged."),
              std::string::npos)
        << Report();
    EXPECT_FALSE(drives.Exists("D:\\p"));
    EXPECT_FALSE(drives.Exists("D:\\q"));
}

TEST_F(DiskWipe, LostAndFoundAtTheRootIsEmptiedButKept) {
    wipe.Drives().WriteFile("D:\\lost+found\\#1234", "recovered");
    wipe.Drives().WriteFile("D:\\deeper\\lost+found\\x", "an ordinary folder here");
    wipe.Exclude({}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();
    EXPECT_TRUE(wipe.Drives().Exists("D:\\lost+found"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\lost+found\\#1234"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\deeper"));
}

TEST_F(DiskWipe, TheDriveHoldingTheProgramIsRefusedBeforeAnythingHappens) {
    wipe.Sizes().sizes['C'] = {3 << 20, 8 << 20};
    wipe.ChooseDrive('C');
    wipe.Drives().WriteFile("C:\\x.dat", "x");
    wipe.Wipe();  // no exclusions dialog is scripted: none may open
    auto boxes = wipe.WipeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Drive C: holds ", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("Wipe a data drive instead"), std::string::npos);
    EXPECT_EQ(wipe.Drives().ReadFile("C:\\x.dat"), "x");
    EXPECT_TRUE(wipe.Main().lblFiles(0).Visible());
}

TEST_F(DiskWipe, AnEmptyKeptFolderIsNotRemoved) {
    wipe.Drives().MakeFolder("D:\\empty");
    wipe.Drives().MakeFolder("D:\\keep\\emptied");
    wipe.Drives().WriteFile("D:\\a\\x.dat", "x");
    wipe.Exclude({"D:\\empty", "D:\\keep\\emptied"}, false);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();
    EXPECT_TRUE(wipe.Drives().Exists("D:\\empty"));
    EXPECT_TRUE(wipe.Drives().Exists("D:\\keep\\emptied"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\a"));
    EXPECT_NE(Report().find("D:\\empty\\ is an excluded folder."), std::string::npos) << Report();
}

TEST_F(DiskWipe, ItsExclusionsDoNotOutliveIt) {
    wipe.Drives().MakeFolder("D:\\keep");
    wipe.Exclude({"D:\\keep"}, true);
    wipe.Answer({Answer::No, Answer::OK, Answer::OK, Answer::OK, Answer::OK});
    wipe.Wipe();
    wipe.Drives().WriteFile("D:\\keep\\later.dat", "purged by a normal purge");
    wipe.Drives().WriteFile("D:\\top.dat", "so is this");
    wipe.Run().Select("D:\\", "*.*", true);
    const std::string report = wipe.Run().Purge();
    EXPECT_EQ(report.find("Except that"), std::string::npos) << report;
    EXPECT_FALSE(wipe.Drives().Exists("D:\\keep\\later.dat"));
    EXPECT_FALSE(wipe.Drives().Exists("D:\\top.dat"));
}

}  // namespace
