// Benchmark of a listing and a purge of many small files in a tree, against
// find and shred on the same tree in the same run.
//
// Usage: listing_and_purge_bench FOLDER [FILES=100000] [FOLDERS=100] [SHRED_FILES]
// With SHRED_FILES, shred is timed on that many files of the tree (spread
// over its folders) and its time scaled to the whole tree: shred flushes
// every file and name alone, which takes hours for large trees on a slow
// disk, and its time per file does not depend on the tree's size.
// The tree is FOLDERS folders of FILES/FOLDERS files (1 to 200 bytes) in
// FOLDER/tree. Measured, each on a fresh tree where it destroys one:
//   find tree -type f -printf '%s\n'          reference of the listing
//   purge --list (the command-line mode)      files listed with their sizes
//   find tree -type f -exec shred -n1 -u {} + reference of the purge
//   purge --purge --yes, one random overwrite, emptied folders removed
//   the floor: each file's bytes written over once and the file removed,
//     the folders too, with one sync at the end: what any purge of the tree
//     must at least do, without the flushes that keep its order
// The listing runs warm (after a find) and best of three; the ratios are
// our time over the reference (below 1 is faster). The listing and the
// purge are measured again on a tenth of the tree, so that the time per file
// at both sizes shows whether the time grows linearly.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/SetupFile.h"
#include "platform/DrivePaths.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

template <typename Work>
double Seconds(Work&& work) {
    auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

void MakeTree(const fs::path& tree, int files, int folders) {
    fs::remove_all(tree);
    std::string contents(200, 'k');
    for (int d = 0; d < folders; ++d) {
        fs::path folder = tree / ("folder " + std::to_string(d)) / "inner";
        fs::create_directories(folder);
        for (int f = d; f < files; f += folders) {
            std::ofstream(folder / ("file-" + std::to_string(f) + ".txt"), std::ios::binary)
                << contents.substr(0, 1 + f % 200);
        }
    }
    Shell("sync");
}

std::string OperationFile(const fs::path& folder) {
    SetupRecord record;
    record.strVersion = "8.27";
    record.subfolderFlag = 1;
    record.folder = "C:\\tree\\";
    record.fileSpec = "*.*";
    record.purgeType = 0;
    record.passes = 1;
    record.options = {0, 0, 1, 1, 0, 1};  // read-only and sensitive files; remove emptied folders
    std::ofstream(folder / "bench.kzs", std::ios::binary) << WriteSetup(record);
    return "C:\\bench.kzs";
}

int Kestrane(const std::string& mode, const std::string& operationFile) {
    std::ostringstream out, err;
    std::istringstream in;
    std::vector<std::string> args = {mode, operationFile};
    if (mode == "--purge") args.push_back("--yes");
    int status = RunCommandLine(args, out, err, in, false);
    if (status != kExitDone) {
        std::fprintf(stderr, "purge %s ended with %d:\n%s\n", mode.c_str(), status,
                     err.str().c_str());
        std::exit(1);
    }
    return status;
}

struct Times {
    double find = 0, list = 0, purge = 0, shred = 0, floor = 0;
};

// Writes random-looking bytes over every file of the tree, removes the
// files and the folders, and syncs once.
void Floor(const fs::path& tree) {
    std::vector<fs::path> files, folders;
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        (entry.is_directory() ? folders : files).push_back(entry.path());
    }
    std::string bytes(200, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 37 + 11);
    for (const fs::path& file : files) {
        int fd = ::open(file.c_str(), O_WRONLY);
        if (fd < 0) continue;
        struct stat facts {};
        if (::fstat(fd, &facts) == 0 && facts.st_size > 0) {
            ssize_t ignored = ::pwrite(fd, bytes.data(), static_cast<std::size_t>(facts.st_size), 0);
            (void)ignored;
        }
        ::close(fd);
        ::unlink(file.c_str());
    }
    std::sort(folders.rbegin(), folders.rend());
    for (const fs::path& folder : folders) ::rmdir(folder.c_str());
    ::sync();
}

// Lists and purges a fresh tree; with report, prints each result as it
// comes, and then times shred on another fresh tree.
Times Measure(const fs::path& folder, int files, int folders, bool report, int shredFiles) {
    const fs::path tree = folder / "tree";
    const std::string op = OperationFile(folder);
    const std::string findCommand =
        "find '" + tree.string() + "' -type f -printf '%s\\n' >/dev/null";
    Times t;
    MakeTree(tree, files, folders);
    Shell(findCommand);  // warm the caches for both
    t.find = 1e9;
    t.list = 1e9;
    for (int round = 0; round < 3; ++round) {
        t.find = std::min(t.find, Seconds([&] { Shell(findCommand); }));
        t.list = std::min(t.list, Seconds([&] { Kestrane("--list", op); }));
    }
    if (report) {
        std::printf("find -printf:   %8.3f s\n", t.find);
        std::printf("purge --list:   %8.3f s   ratio to find  %5.2f (target: 1.5 or less)\n", t.list,
                    t.list / t.find);
        std::fflush(stdout);
    }
    t.purge = Seconds([&] { Kestrane("--purge", op); });
    if (fs::exists(tree / "folder 0")) {
        std::fprintf(stderr, "the purge left files behind\n");
        std::exit(1);
    }
    if (report) {
        std::printf("purge --purge:  %8.3f s\n", t.purge);
        std::fflush(stdout);
        MakeTree(tree, files, folders);
        std::string sample = "find '" + tree.string() + "' -type f";
        const bool sampled = shredFiles > 0 && shredFiles < files;
        if (sampled) sample += " | awk 'NR % " + std::to_string(files / shredFiles) + " == 0'";
        const int shredded = sampled ? files / (files / shredFiles) : files;
        t.shred = Seconds([&] { Shell(sample + " | xargs -d '\\n' shred -n1 -u"); }) * files /
                  shredded;
        if (sampled) std::printf("(shred timed on %d of the files, scaled to all)\n", shredded);
        std::printf("shred -n1 -u:   %8.3f s   purge's ratio to shred %6.3f (target: 0.050 or less)\n",
                    t.shred, t.purge / t.shred);
        std::fflush(stdout);
        MakeTree(tree, files, folders);
        t.floor = Seconds([&] { Floor(tree); });
        std::printf("floor:          %8.3f s   purge's ratio to the floor %5.2f\n", t.floor,
                    t.purge / t.floor);
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [FILES=100000] [FOLDERS=100]\n", argv[0]);
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const int files = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int folders = argc > 3 ? std::atoi(argv[3]) : 100;
    platform::SetDrives(platform::DriveTable::FromSpec("C=" + folder.string()));

    std::printf("%d files in %d folders under %s\n", files, folders, folder.c_str());
    const int smallFiles = std::max(1, files / 10);
    const int shredFiles = argc > 4 ? std::atoi(argv[4]) : 0;
    const Times small = Measure(folder, smallFiles, std::max(1, folders / 10), false, 0);
    const Times full = Measure(folder, files, folders, true, shredFiles);
    std::printf("time per file at %d and at %d files (equal when linear):\n", smallFiles, files);
    std::printf("  listing  %8.2f us  %8.2f us   ratio %5.2f\n", small.list / smallFiles * 1e6,
                full.list / files * 1e6, (full.list / files) / (small.list / smallFiles));
    std::printf("  purge    %8.2f us  %8.2f us   ratio %5.2f\n", small.purge / smallFiles * 1e6,
                full.purge / files * 1e6, (full.purge / files) / (small.purge / smallFiles));
    fs::remove_all(folder / "tree");
    fs::remove(folder / "bench.kzs");
    return 0;
}
