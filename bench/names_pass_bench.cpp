// Benchmark of the names pass against the fill it follows, on the same
// mounted file system in the same run.
//
// Usage: names_pass_bench FOLDER
// FOLDER is the top folder of a file system of its own (a mounted image):
// the fill window fills its free space with dummy files, which are then
// deleted, and the names pass runs on it as it does at the end of a wipe.
// Both are timed; the ratio is the pass's time over the fill's. The pass's
// processor time is given too.
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/HeadlessFill.h"
#include "disk/NamesPass.h"
#include "platform/FileSystem.h"

namespace fs = std::filesystem;
using bench::Seconds;

// The processor time this program has used (in it and in the kernel for
// it): on a shared machine the pass's own work, where its wall-clock time
// also counts the waiting for other programs.
double ProcessorSeconds() {
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

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
    const double processorBefore = ProcessorSeconds();
    const double passSeconds = Seconds([&] { outcome = fill.OverwriteFileNames(); });
    const double passProcessor = ProcessorSeconds() - processorBefore;
    if (!outcome.failure.empty() || outcome.leftBehind) {
        std::fprintf(stderr, "the names pass failed: %s\n", outcome.failure.c_str());
        return 1;
    }
    std::printf("fill of %.0f MiB: %.2f s\n", free / 1048576, fillSeconds);
    std::printf("names pass, %llu entries: %.2f s\n",
                static_cast<unsigned long long>(outcome.entriesWritten), passSeconds);
    std::printf("names pass, processor time: %.2f s\n", passProcessor);
    std::printf("ratio of times, pass / fill: %.2f\n", passSeconds / fillSeconds);
    fill.HoldDrive("", nullptr);
    fs::remove_all(config);
    return 0;
}
