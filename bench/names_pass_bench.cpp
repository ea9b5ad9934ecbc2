// Benchmark of the names pass against the fill it follows, on the same
// mounted file system in the same run.
//
// Usage: names_pass_bench FOLDER
// FOLDER is the top folder of a file system of its own (a mounted image):
// the fill window fills its free space with dummy files, which are then
// deleted, and the names pass runs on it as it does at the end of a wipe.
// Both are timed; the ratio is the pass's time over the fill's.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/HeadlessFill.h"
#include "disk/NamesPass.h"
#include "platform/FileSystem.h"

namespace fs = std::filesystem;
using bench::Seconds;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: names_pass_bench FOLDER\n");
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const fs::path config = fs::temp_directory_path() / "names-pass-bench-config";
    fs::create_directories(config);
    bench::HeadlessFill windows(folder, config);
    frmFillDisk& fill = windows.Fill();
    std::shared_ptr<platform::FolderHandle> root = platform::Files().OpenFolder("F:\\");
    if (!root) return 1;
    fill.HoldDrive("F:", root);

    const double free = double(fs::space(folder).available);
    const double fillSeconds = Seconds([&] {
        fill.blnFillDisk = true;
        fill.strDrive = "F:";
        fill.dblFreeSpace = free;
        fill.ShowModal();
    });
    fill.DeleteDummyFilesLeft();
    if (!fill.strFailure.empty()) {
        std::fprintf(stderr, "the fill failed: %s\n", fill.strFailure.c_str());
        return 1;
    }
    NamesPassOutcome outcome;
    const double passSeconds = Seconds([&] { outcome = fill.OverwriteFileNames(); });
    if (!outcome.failure.empty() || outcome.leftBehind) {
        std::fprintf(stderr, "the names pass failed: %s\n", outcome.failure.c_str());
        return 1;
    }
    std::printf("fill of %.0f MiB: %.2f s\n", free / 1048576, fillSeconds);
    std::printf("names pass, %llu entries: %.2f s\n",
                static_cast<unsigned long long>(outcome.entriesWritten), passSeconds);
    std::printf("ratio of times, pass / fill: %.2f\n", passSeconds / fillSeconds);
    fill.HoldDrive("", nullptr);
    fs::remove_all(config);
    return 0;
}
