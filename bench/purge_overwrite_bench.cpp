// Benchmark of the overwrite engine against dd and shred on one large file.
//
// Usage: purge_overwrite_bench FOLDER [GiB=1] [ROUNDS=2]
// In every round the same file is written once each by: dd from /dev/zero
// with conv=notrunc,fdatasync (the reference), one pattern overwrite of the
// engine, one random overwrite (kz_purge_file's own path, purge type 0), and
// shred -n1 -x. The best time of each over the rounds is printed as speed
// relative to dd (1.00 = as fast as dd; above 1 faster). The random
// generator's own throughput on one core is printed too.
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "torvix/overwrite.h"
#include "torvix/posix_file_layer.h"
#include "torvix/purge_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<bool()>& work) {
    auto start = Clock::now();
    if (!work()) {
        std::fprintf(stderr, "a measured step failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

double GeneratorGBPerSecond() {
    auto random = torvix::MakeCryptoRandomSource();
    torvix::WriteBuffer buffer;
    const int pieces = 4096;  // 4 GiB
    double seconds = Seconds([&] {
        if (!random || !buffer.ok() || !random->BeginStream()) return false;
        for (int i = 0; i < pieces; ++i)
            if (!random->Fill(buffer.data(), buffer.size())) return false;
        return true;
    });
    return pieces * double(buffer.size()) / seconds / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [GiB=1] [ROUNDS=2]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    int gib = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 2;
    uint64_t bytes = uint64_t(gib) << 30;
    std::string file = folder + "/purge-bench.dat";
    struct statvfs space;
    if (statvfs(folder.c_str(), &space) != 0 ||
        uint64_t(space.f_bavail) * space.f_frsize < bytes + (uint64_t{256} << 20)) {
        std::fprintf(stderr, "%s lacks %d GiB of free space\n", folder.c_str(), gib);
        return 1;
    }
    std::string dd = "dd if=/dev/zero of='" + file + "' bs=1M count=" + std::to_string(gib * 1024) +
                     " conv=notrunc,fdatasync status=none";
    std::string shred = "shred -n1 -x '" + file + "'";
    if (!Shell(dd)) return 1;  // allocates the file: later writes are overwrites alike

    torvix::PosixFileLayer layer;
    auto random = torvix::MakeCryptoRandomSource();
    torvix::WriteBuffer buffer;
    double best[4] = {1e30, 1e30, 1e30, 1e30};  // dd, pattern, random, shred
    for (int round = 0; round < rounds; ++round) {
        double times[4];
        times[0] = Seconds([&] { return Shell(dd); });
        times[1] = Seconds([&] {
            int fd = open(file.c_str(), O_WRONLY | O_CLOEXEC);
            torvix::Extent extent(bytes, 0);
            bool ok = fd >= 0 &&
                      torvix::OverwriteOnce(layer, fd, {false, 0xAA}, extent, buffer, *random) == 0;
            if (fd >= 0) close(fd);
            return ok;
        });
        times[2] = Seconds(
            [&] { return torvix::PurgeOneFile(file, {.purgeType = 0}, layer, *random) == 0; });
        times[3] = Seconds([&] { return Shell(shred); });
        for (int i = 0; i < 4; ++i) best[i] = std::min(best[i], times[i]);
        std::printf("round %d: dd %.2f s, pattern %.2f s, random %.2f s, shred %.2f s\n", round + 1,
                    times[0], times[1], times[2], times[3]);
    }
    unlink(file.c_str());

    const char* names[4] = {"dd conv=fdatasync", "engine, pattern", "engine, random",
                            "shred -n1 -x"};
    std::printf("\nOne overwrite of %d GiB in %s, best of %d, speed relative to dd:\n", gib,
                folder.c_str(), rounds);
    for (int i = 0; i < 4; ++i)
        std::printf("  %-18s %6.2f   (%.0f MB/s)\n", names[i], best[0] / best[i],
                    bytes / best[i] / 1e6);
    std::printf("Random generator alone, one core: %.2f GB/s\n", GeneratorGBPerSecond());
    return 0;
}
