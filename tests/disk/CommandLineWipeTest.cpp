// purge --wipe in the command-line mode: a whole unattended wipe with an
// excluded folder, the refusals that come before anything is written, and
// the options that belong to --wipe alone.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/SetupFile.h"
#include "purge/FileProc.h"
#include "support/Folder.h"
#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/ProgramHarness.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

class WipeCommandLine : public ::testing::Test {
  protected:
    WipeCommandLine() : program_(testing_support::kStandardProgramText, "CD") {
        SetNumberStyleForTesting(NumberStyle{});
        sizes_.sizes['D'] = {3 << 20, 8 << 20};
        files_.capacity = 3 << 20;
        Drives().WriteFile("D:\\a.dat", "a");
        Drives().WriteFile("D:\\sub\\b.dat", "b");
        Drives().WriteFile("D:\\keep\\k.dat", "kept exactly");
    }
    ~WipeCommandLine() override { SetNumberStyleForTesting(std::nullopt); }

    Result Run(std::vector<std::string> args, const std::string& typed = "",
               bool terminal = false) {
        std::ostringstream out, err;
        std::istringstream in(typed);
        int status = RunCommandLine(args, out, err, in, terminal);
        return {status, out.str(), err.str()};
    }
    testing_support::TempDrives& Drives() { return program_.Drives(); }
    bool Untouched() {
        return Drives().Exists("D:\\a.dat") && Drives().Exists("D:\\sub\\b.dat") &&
               !Drives().Exists("D:\\dummy1") && files_.created.empty();
    }

    disk_testing::SystemOnlyTheProgramFolder system_;
    disk_testing::FakeReserve reserve_;
    disk_testing::SizedDrives sizes_;
    disk_testing::CountingFiles files_;
    testing_support::ProgramFiles program_;
};

TEST_F(WipeCommandLine, AFillThatFailsEndsTheWipeWithExit1AndNothingPurged) {
    files_.failAfter = 1 << 20;
    Result result = Run({"--wipe", "D:", "--type", "1", "--passes", "1", "--yes"});
    EXPECT_EQ(result.status, kExitNotAllPurged);
    EXPECT_NE(result.err.find("cannot be filled, so the disk is not wiped"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("Error: Input/output error"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(Drives().Exists("D:\\a.dat"));
    EXPECT_TRUE(Drives().Exists("D:\\sub\\b.dat"));
    EXPECT_FALSE(Drives().Exists("D:\\dummy1"));
}

TEST_F(WipeCommandLine, WipesAllButTheExcludedFolderAndPrintsTheReport) {
    Result result =
        Run({"--wipe", "d:", "--exclude", "D:\\keep\\", "--type", "1", "--passes", "1", "--yes"});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_NE(result.out.find("Purging all files in D:\\ (including all files\nin subfolders) "),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("D:\\keep\\ is an excluded folder."), std::string::npos);
    EXPECT_NE(result.out.find("Number of files purged: 3"), std::string::npos) << result.out;
    EXPECT_EQ(files_.created, std::vector<std::string>{"dummy1"});
    EXPECT_FALSE(Drives().Exists("D:\\dummy1"));
    EXPECT_FALSE(Drives().Exists("D:\\a.dat"));
    EXPECT_FALSE(Drives().Exists("D:\\sub"));
    EXPECT_EQ(Drives().ReadFile("D:\\keep\\k.dat"), "kept exactly");
}

TEST_F(WipeCommandLine, WithoutOptionsThePurgeTypeAndPassesAreTheNextRunSetups) {
    SetupRecord nextRun;
    nextRun.strVersion = "8.27";
    nextRun.purgeType = 0;
    nextRun.passes = 2;
    std::ofstream(UserDataFilePath("kz.usr", "Kestrane"), std::ios::binary) << WriteSetup(nextRun);
    Result result = Run({"--wipe", "D:", "--yes"});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_NE(result.out.find("in subfolders) using random bytes twice.\n"), std::string::npos)
        << result.out;
}

#ifndef _WIN32
// A stop signal while file names are overwritten after the run stops the
// wipe as one during the run would: the entries are deleted, the report
// says so and is printed, and the exit status is the stopped one.
TEST_F(WipeCommandLine, AStopSignalDuringTheNamesPassEndsAsAStoppedWipe) {
    files_.churn.logBytes = 64 << 20;
    files_.churn.afterEntry = [this] {
        if (files_.churn.made == 300) ::raise(SIGTERM);
    };
    Result result = Run({"--wipe", "D:", "--type", "1", "--passes", "1", "--yes"});
    EXPECT_EQ(result.status, kExitStopped) << result.err;
    EXPECT_LT(files_.churn.made, 400u);
    EXPECT_NE(result.out.find("Number of files purged: 4"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("The overwriting of file names on Drive D: was stopped after"),
              std::string::npos)
        << result.out;
    EXPECT_FALSE(Drives().Exists("D:\\a.dat"));
    EXPECT_TRUE(std::filesystem::is_empty(Drives().Root('D')));
}

// A stop signal while the run purges the drive's files stops it as the
// report's Stop button would: no file after the one under way is purged,
// the report is printed, the exit status is the stopped one, and no dummy
// file outlives it.
TEST_F(WipeCommandLine, AStopSignalDuringTheRunFinishesTheFileUnderWayAndEndsAsStopped) {
    int calls = 0;
    SetPurgeLibraryForTesting([&](const PurgeLibraryRequest& request, std::int32_t& seconds) {
        if (++calls == 1) ::raise(SIGTERM);  // arrives while the first file is purged
        return CallPurgeLibrary(request, seconds);
    });
    Result result = Run({"--wipe", "D:", "--type", "1", "--passes", "1", "--yes"});
    SetPurgeLibraryForTesting(nullptr);
    EXPECT_EQ(result.status, kExitStopped) << result.err;
    EXPECT_EQ(calls, 1);
    EXPECT_NE(result.out.find("Purge operation was stopped.\n"), std::string::npos)
        << result.out;
    EXPECT_TRUE(Drives().Exists("D:\\a.dat") || Drives().Exists("D:\\sub\\b.dat"));
    EXPECT_FALSE(Drives().Exists("D:\\dummy1"));
    EXPECT_EQ(Drives().ReadFile("D:\\keep\\k.dat"), "kept exactly");
}
#endif

TEST_F(WipeCommandLine, AsksOnATerminalAndRefusesWithoutOne) {
    Result result = Run({"--wipe", "D:"});
    EXPECT_EQ(result.status, kExitBadRequest);
    EXPECT_NE(result.err.find("add --yes"), std::string::npos);
    EXPECT_TRUE(Untouched());

    // Anything but yes on the terminal, or nothing at all, keeps the drive.
    for (const char* typed : {"", "\n", "maybe\n", "yess\n"}) {
        EXPECT_EQ(Run({"--wipe", "D:"}, typed, true).status, kExitStopped) << typed;
    }
    result = Run({"--wipe", "D:", "--keep-top-files"}, "n\n", true);
    EXPECT_EQ(result.status, kExitStopped);
    EXPECT_NE(result.out.find("Wipe drive D: fill its free space and purge every file on it "
                              "except its top-level files"),
              std::string::npos)
        << result.out;
    EXPECT_TRUE(Untouched());
}

TEST_F(WipeCommandLine, RefusesTheProgramsDriveAMissingExclusionAndStrayOptions) {
    Drives().WriteFile("C:\\x.dat", "x");
    Result result = Run({"--wipe", "C:", "--yes"});
    EXPECT_EQ(result.status, kExitBadRequest);
    EXPECT_NE(result.err.find("Drive C: holds "), std::string::npos) << result.err;
    EXPECT_EQ(Drives().ReadFile("C:\\x.dat"), "x");

    EXPECT_EQ(Run({"--wipe", "D:", "--exclude", "D:\\kep", "--yes"}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--wipe", "D:", "--exclude", "E:\\keep", "--yes"}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--exclude", "D:\\keep", "--yes"}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--wipe", "D:", "--type", "4", "--yes"}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--wipe", "D:\\sub", "--yes"}).status, kExitBadRequest);
    EXPECT_TRUE(Untouched());
}

TEST_F(WipeCommandLine, BadNumbersAndDrivesOfTheWipeAndTheSpeedTestAreBadRequests) {
    const std::vector<std::vector<std::string>> refused = {
        {"--wipe", "D:", "--passes", "0", "--yes"},
        {"--wipe", "D:", "--passes", "-1", "--yes"},
        {"--wipe", "D:", "--passes", "2x", "--yes"},
        {"--wipe", "D:", "--passes", "1000", "--yes"},
        {"--wipe", "D:", "--passes", "", "--yes"},
        {"--wipe", "D:", "--type", "0", "--yes"},
        {"--wipe", "D:", "--type", "1", "--passes"},
        {"--wipe", "D:", "--wipe", "D:", "--yes"},
        {"--wipe", "", "--yes"},
        {"--wipe", "Q:", "--yes"},
        {"--wipe", "D:", "--test-speed", "D:", "--yes"},
        {"--test-speed"},
        {"--test-speed", "D:", "--test-speed", "D:"},
        {"--test-speed", "D:\\sub"},
        {"--test-speed", "Q:"},
        {"--test-speed", "D:", "--passes", "1"},
    };
    for (const auto& args : refused) {
        Result result = Run(args);
        std::string line;
        for (const auto& arg : args) line += "'" + arg + "' ";
        EXPECT_EQ(result.status, kExitBadRequest) << line << result.err;
        EXPECT_NE(result.err.find("purge: "), std::string::npos) << line << result.err;
    }
    EXPECT_NE(Run({"--wipe", "D:", "--passes", "0", "--yes"}).err.find("--passes needs a number"),
              std::string::npos);
    EXPECT_TRUE(Untouched());
}

// With no next-run setup the wipe starts from purge type 3 with 3 passes, as
// the window would: a type given alone keeps those passes, and passes its
// type does not offer are refused before anything is written.
TEST_F(WipeCommandLine, TheTypeAndPassesGivenStandOnThoseOfTheNextRunSetup) {
    Result refused = Run({"--wipe", "D:", "--passes", "7", "--yes"});
    EXPECT_EQ(refused.status, kExitBadRequest);
    EXPECT_NE(refused.err.find("purge: purge type 3 does not offer 7 passes; give --passes\n"),
              std::string::npos)
        << refused.err;
    EXPECT_TRUE(Untouched());

    Result wiped = Run({"--wipe", "D:", "--type", "1", "--yes"});
    EXPECT_EQ(wiped.status, kExitDone) << wiped.err;
    EXPECT_NE(wiped.out.find("using random bytes 3 times."), std::string::npos) << wiped.out;
    EXPECT_FALSE(Drives().Exists("D:\\a.dat"));
}

TEST_F(WipeCommandLine, EveryRefusedFolderToKeepEndsTheWipeBeforeAnythingIsWritten) {
    // The root in any spelling, the same folder twice in two spellings,
    // another drive, and one folder too many: all end with 2.
    for (const char* root : {"D:", "d:\\", "D:/", "D:\\.", "D:\\keep\\.."}) {
        Result result = Run({"--wipe", "D:", "--exclude", root, "--yes"});
        EXPECT_EQ(result.status, kExitBadRequest) << root;
        EXPECT_NE(result.err.find("then there is nothing to do."), std::string::npos)
            << root << ": " << result.err;
    }
    Result twice =
        Run({"--wipe", "D:", "--exclude", "D:\\keep", "--exclude", "D:/keep/.", "--yes"});
    EXPECT_EQ(twice.status, kExitBadRequest);
    EXPECT_NE(twice.err.find("is already in the list."), std::string::npos) << twice.err;
    Drives().MakeFolder("C:\\elsewhere");
    EXPECT_EQ(Run({"--wipe", "D:", "--exclude", "C:\\elsewhere", "--yes"}).status, kExitBadRequest);

    std::vector<std::string> many = {"--wipe", "D:", "--yes"};
    for (int i = 1; i <= 101; ++i) {
        Drives().MakeFolder("D:\\many\\f" + std::to_string(i));
        many.push_back("--exclude");
        many.push_back("D:\\many\\f" + std::to_string(i));
    }
    EXPECT_EQ(Run(many).status, kExitBadRequest);
    EXPECT_TRUE(Untouched());
    EXPECT_EQ(Drives().ReadFile("D:\\keep\\k.dat"), "kept exactly");
}

}  // namespace
