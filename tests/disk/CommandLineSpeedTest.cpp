// purge --test-speed from end to end on a temporary drive, with the real
// purge library and clock: the result on standard output, the listing that
// uses the speed, refusals, and the dummy files a killed fill left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/CommandLine.h"
#include "app/SetupFile.h"
#include "disk/frmFillDisk.h"
#include "purge/NumberFormat.h"
#include "tests/disk/DiskTestSupport.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

class SpeedCommandLine : public ::testing::Test {
  protected:
    SpeedCommandLine() { SetNumberStyleForTesting(NumberStyle{}); }
    ~SpeedCommandLine() override { SetNumberStyleForTesting(std::nullopt); }

    Result Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        std::istringstream in;
        int status = RunCommandLine(args, out, err, in, false);
        return {status, out.str(), err.str()};
    }
    testing_support::TempDrives& Drives() { return program_.Drives(); }

    disk_testing::FakeReserve reserve_;  // the machine's own disk keeps its reserve
    testing_support::ProgramHarness program_;
};

TEST_F(SpeedCommandLine, PrintsTheMeasuredSpeedAndAListingGivenWithItUsesIt) {
    Result result = Run({"--test-speed", "C:"});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.rfind("Time to purge a 1 MB file on Drive C: using ", 0), 0u)
        << result.out;
    EXPECT_NE(result.out.find("\nThe purge speed is thus approximately "), std::string::npos);
    EXPECT_EQ(result.out.find('\r'), std::string::npos);
    EXPECT_FALSE(Drives().Exists("C:\\dummy1"));

    SetupRecord record;
    record.strVersion = "8.27";
    record.folder = "C:\\data\\";
    record.fileSpec = "*.*";
    record.purgeType = 0;
    record.passes = 1;
    Drives().WriteFile("C:\\ops\\data.kzs", WriteSetup(record));
    Drives().WriteFile("C:\\data\\huge.bin", "");
    ASSERT_TRUE(testing_support::MakeSparse(Drives().Native("C:\\data\\huge.bin"), 1ull << 40));
    result = Run({"--test-speed", "c", "--list", "C:\\ops\\data.kzs"});
    EXPECT_EQ(result.status, kExitDone) << result.err;
    EXPECT_NE(result.out.find("(based on measured purge speed of "), std::string::npos)
        << result.out;
}

TEST_F(SpeedCommandLine, ADriveThatIsNotThereIsABadRequest) {
    Result result = Run({"--test-speed", "Q:"});
    EXPECT_EQ(result.status, kExitBadRequest);
    EXPECT_NE(result.err.find("Q: is no drive"), std::string::npos);
    EXPECT_EQ(Run({"--test-speed"}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--test-speed", "C:\\folder"}).status, kExitBadRequest);
}

TEST_F(SpeedCommandLine, DummyFilesOfAKilledFillAreListedAndDeletedWithYes) {
    ASSERT_TRUE(program_.Start());
    // A fill stopped half-way, its partial file kept, stands for a killed one.
    auto& fill = program_.Windows().FillDisk();
    program_.Ui().OnModal("frmFillDisk", [](ui::Form&) {});
    program_.Ui().OnDoEvents = [&fill] { fill.RaiseKeyUp(frmFillDisk::kKeyF10); };
    program_.Ui().AnswerNextBox(ui::Answer::Yes);
    program_.Ui().AnswerNextBox(ui::Answer::No);
    fill.blnFillDisk = true;
    fill.strDrive = "C:";
    fill.dblFreeSpace = 4 << 20;
    fill.ShowModal();
    ASSERT_TRUE(Drives().Exists("C:\\dummy1"));

    Result result = Run({"--test-speed", "C:"});
    EXPECT_NE(result.err.find("left these dummy files behind:\nc:\\dummy1 (1,048,576 bytes)\n"
                              "Together they take 1,048,576 bytes.\n"
                              "purge: run purge with --yes to delete them\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(Drives().Exists("C:\\dummy1"));
    EXPECT_EQ(result.out.find("dummy1"), std::string::npos);

    result = Run({"--test-speed", "C:", "--yes"});
    EXPECT_NE(result.err.find("purge: deleted them\n"), std::string::npos) << result.err;
    EXPECT_FALSE(Drives().Exists("C:\\dummy1"));
    EXPECT_EQ(Run({"--test-speed", "C:"}).err, "");
}

}  // namespace
