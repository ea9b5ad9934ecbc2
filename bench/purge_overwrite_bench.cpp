// Benchmark of the overwrite engine against dd and shred on one large file.
//
// Usage: purge_overwrite_bench FOLDER [GiB=1] [ROUNDS=2]
// The same file is written ROUNDS times each by: dd from /dev/zero with
// conv=notrunc,fdatasync (the reference), one pattern overwrite of the
// engine and one random overwrite (kz_purge_file's own path, purge type 0),
// in a different order each round (the six orders in turn), so that none
// always follows the same one; then ROUNDS times by shred -n1 -x. Shred runs apart because
// whatever follows it is slowed down two to four times (seen with the page
// cache dropped before every step as well, so it lies below the file
// system); dd, which always followed it, used to be measured fairly only in
// the first round. The best time of each is printed as speed relative to dd
// (1.00 = as fast as dd; above 1 faster), with the median time and the
// processor time that the best run took (all threads and the child
// processes): on a shared processor, a step that needs more of it waits
// longer for it. The load average before and after, and the random
// generator's own throughput on one core, are printed too.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

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

double ProcessorSeconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval& t : {usage.ru_utime, usage.ru_stime})
            total += t.tv_sec + t.tv_usec / 1e6;
    }
    return total;
}

std::string LoadAverage() {
    std::string one, five, fifteen;
    std::ifstream("/proc/loadavg") >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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
    const std::function<bool()> steps[4] = {
        [&] { return Shell(dd); },
        [&] {
            int fd = open(file.c_str(), O_WRONLY | O_CLOEXEC);
            torvix::Extent extent(bytes, 0);
            bool ok = fd >= 0 &&
                      torvix::OverwriteOnce(layer, fd, {false, 0xAA}, extent, buffer, *random) == 0;
            if (fd >= 0) close(fd);
            return ok;
        },
        [&] { return torvix::PurgeOneFile(file, {.purgeType = 0}, layer, *random) == 0; },
        [&] { return Shell(shred); },
    };
    const char* names[4] = {"dd conv=fdatasync", "engine, pattern", "engine, random",
                            "shred -n1 -x"};
    std::string loadBefore = LoadAverage();
    std::vector<double> times[4];
    double best[4] = {1e30, 1e30, 1e30, 1e30};
    double bestProcessor[4] = {};
    const int orders[6][3] = {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}, {2, 0, 1}, {1, 0, 2}};
    auto measure = [&](int i) {
        double processor = ProcessorSeconds();
        double seconds = Seconds(steps[i]);
        processor = ProcessorSeconds() - processor;
        times[i].push_back(seconds);
        if (seconds < best[i]) {
            best[i] = seconds;
            bestProcessor[i] = processor;
        }
        std::printf(" %s %.2f s", names[i], seconds);
    };
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d:", round + 1);
        for (int i : orders[round % 6]) measure(i);
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("shred:");
    for (int round = 0; round < rounds; ++round) measure(3);
    std::printf("\n");
    unlink(file.c_str());

    std::printf("\nOne overwrite of %d GiB in %s, best of %d, speed relative to dd:\n", gib,
                folder.c_str(), rounds);
    for (int i = 0; i < 4; ++i)
        std::printf("  %-18s %6.2f   (%.0f MB/s; median %.2f s; processor %.2f s)\n", names[i],
                    best[0] / best[i], bytes / best[i] / 1e6, Median(times[i]), bestProcessor[i]);
    std::printf("Random against pattern: %.2f\n", best[1] / best[2]);
    std::printf("Load average before: %s, after: %s (on %ld processors)\n", loadBefore.c_str(),
                LoadAverage().c_str(), sysconf(_SC_NPROCESSORS_ONLN));
    std::printf("Random generator alone, one core: %.2f GB/s\n", GeneratorGBPerSecond());
    return 0;
}
