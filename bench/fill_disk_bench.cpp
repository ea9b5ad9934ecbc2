// Benchmark of the free-space fill against dd on the same folder in the
// same run.
//
// Usage: fill_disk_bench FOLDER [MIB=1024] [ROUNDS=3]
// Each round writes MIB MiB twice into FOLDER, each time flushed to the
// disk before the clock stops, and deletes it again:
//   the fill window in fill mode, headless, with MIB MiB of "free space"
//   dd if=/dev/zero of=FOLDER/dd.bin bs=1M count=MIB conv=fdatasync
// The rounds alternate so that both meet the same disk; the best of each
// counts, since other work on the machine only ever slows a round down.
// The ratio is the fill's rate over dd's (1 is as fast as dd).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/HeadlessFill.h"
#include "disk/FillLeftovers.h"
#include "platform/ReservedSpace.h"

namespace {

namespace fs = std::filesystem;
using bench::Seconds;

// The benchmark measures writing, and leaves the reserve of the machine's
// own disk alone.
class NoReserve : public platform::ReservedSpace {
  public:
    std::optional<std::string> Describe(platform::FolderHandle&) override { return std::nullopt; }
    std::uint64_t Lower(const std::string&) override { return 0; }
    bool Restore(const std::string&) override { return true; }
    std::uint64_t FreeBytesOfAnyKind(platform::FolderHandle&) override { return 0; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fill_disk_bench FOLDER [MIB=1024] [ROUNDS=3]\n");
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const long mib = argc > 2 ? std::atol(argv[2]) : 1024;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    const fs::path config = folder / ".config";
    fs::create_directories(config);
    platform::SetReservedSpaceForTesting(std::make_shared<NoReserve>());
    bench::HeadlessFill windows(folder, config);
    frmFillDisk& fill = windows.Fill();

    double bestFill = 1e9, bestDd = 1e9;
    const std::string dd = "dd if=/dev/zero of='" + (folder / "dd.bin").string() +
                           "' bs=1M count=" + std::to_string(mib) + " conv=fdatasync status=none";
    for (int round = 0; round < rounds; ++round) {
        ::sync();
        double seconds = Seconds([&] {
            fill.blnFillDisk = true;
            fill.strDrive = "F:";
            fill.dblFreeSpace = double(mib) * 1048576;
            fill.ShowModal();
        });
        std::uintmax_t written = fs::file_size(folder / "dummy1");
        if (written != std::uintmax_t(mib) << 20 || !windows.Ui().Boxes().empty()) {
            std::fprintf(stderr, "the fill wrote %ju bytes\n", written);
            return 1;
        }
        fs::remove(folder / "dummy1");
        ForgetDummyFile(fill.strDummyFile);
        bestFill = std::min(bestFill, seconds);
        ::sync();
        seconds = Seconds([&] {
            if (std::system(dd.c_str()) != 0) std::exit(1);
        });
        fs::remove(folder / "dd.bin");
        bestDd = std::min(bestDd, seconds);
        std::printf("round %d: fill %.3f s, dd %.3f s\n", round + 1, bestFill, bestDd);
    }
    const double mb = double(mib);
    std::printf("fill of %ld MiB: %.3f s (%.0f MiB/s)\n", mib, bestFill, mb / bestFill);
    std::printf("dd bs=1M conv=fdatasync: %.3f s (%.0f MiB/s)\n", bestDd, mb / bestDd);
    std::printf("ratio of rates, fill / dd: %.2f\n", bestDd / bestFill);
    fs::remove_all(config);
    return 0;
}
