// Small files purged together: the report is the one a purge of one file at
// a time writes, line for line, and a stop during a call loses no file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/purge/RunTestSupport.h"

using run_testing::FakeLibrary;
using run_testing::RunProgram;

namespace {

// The library's batch call as the run sees it: chosen files get a chosen
// code, every call's names are recorded, and the rest goes to the real
// library in one call.
class FakeBatchLibrary {
  public:
    FakeBatchLibrary() {
        SetPurgeLibraryBatchForTesting([this](const PurgeLibraryBatch& batch,
                                              std::vector<std::int32_t>& results,
                                              std::int32_t& seconds) {
            std::vector<std::string> names;
            PurgeLibraryBatch real{batch.common, {}};
            for (const auto& file : batch.files) {
                names.push_back(file.name);
                if (!codes.count(file.name)) real.files.push_back(file);
            }
            batches.push_back(names);
            if (onBatch) onBatch(names);
            std::vector<std::int32_t> realResults;
            if (!real.files.empty()) CallPurgeLibrary(real, realResults, seconds);
            seconds = 0;  // a loaded machine must not change the report
            results.clear();
            std::size_t next = 0;
            for (const auto& name : names) {
                auto code = codes.find(name);
                results.push_back(code != codes.end() ? code->second : realResults.at(next++));
            }
        });
    }
    ~FakeBatchLibrary() { SetPurgeLibraryBatchForTesting(nullptr); }

    std::map<std::string, std::int32_t> codes;
    std::vector<std::vector<std::string>> batches;
    std::function<void(const std::vector<std::string>& names)> onBatch;
};

// A folder of small files among which some must go alone or not at all:
// a read-only file, a file too large to be gathered, one with another hard
// link, a swap file, and files whose purge fails.
void MakeMixedFolder(RunProgram& run) {
    for (int i = 0; i < 40; ++i) {
        run.Drives().WriteFile("C:\\m\\f" + std::to_string(100 + i) + ".txt",
                               std::string(1 + i, 'k'));
    }
    run.Drives().WriteFile("C:\\m\\f105.txt", "read-only");
    ::chmod(run.Drives().Native("C:\\m\\f105.txt").c_str(), 0444);
    run.Drives().WriteFile("C:\\m\\f111.txt", std::string((1 << 20) + 1, 'b'));
    std::filesystem::create_hard_link(run.Drives().Native("C:\\m\\f120.txt"),
                                      run.Drives().Native("C:\\m\\linked.dat"));
    run.Drives().WriteFile("C:\\m\\f125.swp", "swap");
    run.Select("C:\\m\\", "*.*", false);
    run.Options().blnOKToPurgeReadOnlyFiles = true;
}

// The report without its first and last lines, the dates and times of the run.
std::string WithoutDates(const std::string& report) {
    const std::size_t end = report.rfind("\r\n", report.size() - 3);
    return report.substr(report.find("\r\n"), end - report.find("\r\n"));
}

}  // namespace

TEST(PurgeBatch, TheReportIsTheOneOfAPurgeOfOneFileAtATime) {
    const std::map<std::string, std::int32_t> failures = {
        {"f102.txt", -5}, {"f103.txt", -7}, {"f130.txt", 1}, {"f131.txt", -12}};
    std::string together, alone;
    std::vector<std::vector<std::string>> batches;
    {
        RunProgram run;
        run.SetPurgeType(1, 2);
        MakeMixedFolder(run);
        FakeBatchLibrary library;
        library.codes = failures;
        together = WithoutDates(run.Purge());
        batches = library.batches;
    }
    {
        RunProgram run;
        run.SetPurgeType(1, 2);
        MakeMixedFolder(run);
        FakeLibrary library;  // every file through the call of one file
        library.secondsOfRealCalls = 0;
        for (const auto& [name, code] : failures) library.codes[name] = code;
        alone = WithoutDates(run.Purge());
        EXPECT_EQ(run.Drives().ReadFile("C:\\m\\f102.txt").size(), 3u);
    }
    EXPECT_EQ(together, alone);
    EXPECT_NE(together.find("f139.txt (40 bytes) purged."), std::string::npos) << together;

    // Gathered in the order of the report; the read-only file, the large
    // one and the linked ones were not among them.
    std::vector<std::string> gathered;
    for (const auto& batch : batches) gathered.insert(gathered.end(), batch.begin(), batch.end());
    std::size_t at = 0;
    for (const auto& name : gathered) {
        at = together.find("\r\n" + name + " (", at);
        ASSERT_NE(at, std::string::npos) << name << " out of order";
    }
    EXPECT_GE(batches.size(), 2u);
    for (const char* alonePlease : {"f105.txt", "f111.txt", "f120.txt", "linked.dat", "f125.swp"})
        EXPECT_EQ(std::count(gathered.begin(), gathered.end(), alonePlease), 0) << alonePlease;
}

TEST(PurgeBatch, AStopDuringACallReportsEveryFileOfItAndTouchesNoOther) {
    RunProgram run;
    run.SetPurgeType(0, 1);
    for (int i = 0; i < 60; ++i)
        run.Drives().WriteFile("C:\\s\\f" + std::to_string(100 + i) + ".txt", "content");
    run.Select("C:\\s\\", "*.*", false);
    FakeBatchLibrary library;
    std::vector<std::string> firstBatch;
    library.onBatch = [&](const std::vector<std::string>& names) {
        if (!firstBatch.empty()) return;
        firstBatch = names;
        run.Report().cmdStop.RaiseClick();  // while the library works
    };

    const std::string& report = run.Purge();

    ASSERT_EQ(library.batches.size(), 1u);
    ASSERT_GT(firstBatch.size(), 1u);
    ASSERT_LT(firstBatch.size(), 60u);
    for (int i = 0; i < 60; ++i) {
        const std::string name = "f" + std::to_string(100 + i) + ".txt";
        const bool purged = std::count(firstBatch.begin(), firstBatch.end(), name) > 0;
        EXPECT_EQ(report.find(name + " (7 bytes) purged.") != std::string::npos, purged) << name;
        EXPECT_EQ(run.Drives().Exists("C:\\s\\" + name), !purged) << name;
        if (!purged) {
            EXPECT_EQ(run.Drives().ReadFile("C:\\s\\" + name), "content");
        }
    }
    EXPECT_NE(report.find("Number of files purged: " + std::to_string(firstBatch.size())),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Purge operation was stopped."), std::string::npos);
}
