// kz_purge_file, kz_purge_file_at and kz_purge_files_at: the overwrite engine with the real
// file system and the cryptographic random source, timed, behind the C
// interface.
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "torvix/purge_batch.h"
#include "torvix/purge_codes.h"
#include "torvix/purge_engine.h"
#include "torvix/system_file_layer.h"
#include "torvix/torvix.h"

namespace {

int32_t WholeSeconds(std::chrono::steady_clock::duration elapsed) {
    double seconds = std::round(std::chrono::duration<double>(elapsed).count());
    if (seconds >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(seconds);
}

torvix::PurgeRequest Request(int32_t purge_type, int32_t passes, int32_t delete_when_done,
                             int32_t run_flag, int32_t purge_slack, int32_t cluster_size) {
    return {.purgeType = purge_type,
            .passes = passes,
            .deleteWhenDone = delete_when_done != 0,
            .runFlag = run_flag != 0,
            .purgeSlack = purge_slack != 0,
            .clusterSize = cluster_size};
}

using Engine = std::function<int32_t(torvix::FileLayer&, torvix::RandomSource&)>;

// Runs one purge with the production layer and generator; times it, and
// lets no exception cross the C boundary.
int32_t RunTimed(const Engine& engine, int32_t* seconds) {
    auto start = std::chrono::steady_clock::now();
    int32_t result;
    try {
        std::unique_ptr<torvix::RandomSource> random = torvix::MakeCryptoRandomSource();
        torvix::SystemFileLayer layer;
        result = random ? engine(layer, *random) : torvix::kPurgeOtherFailure;
    } catch (...) {
        result = torvix::kPurgeOtherFailure;
    }
    if (seconds != nullptr) *seconds = WholeSeconds(std::chrono::steady_clock::now() - start);
    return result;
}

}  // namespace

extern "C" int32_t kz_purge_file(const char* path, int32_t purge_type, int32_t passes,
                                 int32_t delete_when_done, int32_t run_flag, int32_t purge_slack,
                                 int32_t cluster_size, int32_t* seconds) {
    auto request =
        Request(purge_type, passes, delete_when_done, run_flag, purge_slack, cluster_size);
    return RunTimed(
        [&](torvix::FileLayer& layer, torvix::RandomSource& random) {
            if (path == nullptr) return int32_t{torvix::kPurgeOtherFailure};
            return torvix::PurgeOneFile(path, request, layer, random);
        },
        seconds);
}

extern "C" int32_t kz_purge_file_at(intptr_t folder, const char* name, uint64_t device,
                                    uint64_t inode, int32_t purge_type, int32_t passes,
                                    int32_t delete_when_done, int32_t run_flag, int32_t purge_slack,
                                    int32_t cluster_size, int32_t* seconds) {
    auto request =
        Request(purge_type, passes, delete_when_done, run_flag, purge_slack, cluster_size);
    return RunTimed(
        [&](torvix::FileLayer& layer, torvix::RandomSource& random) {
            if (name == nullptr) return int32_t{torvix::kPurgeOtherFailure};
            return torvix::PurgeOneFileAt(folder, name, {device, inode}, request, layer, random);
        },
        seconds);
}

extern "C" int32_t kz_purge_files_at(intptr_t folder, kz_file_entry* files, int32_t count,
                                     int32_t purge_type, int32_t passes, int32_t delete_when_done,
                                     int32_t run_flag, int32_t purge_slack, int32_t cluster_size,
                                     int32_t* seconds) {
    if (files == nullptr || count < 1 || count > torvix::kMaxBatchFiles) return -1;
    for (int32_t i = 0; i < count; ++i) {
        if (files[i].name == nullptr) return -1;
    }
    auto request =
        Request(purge_type, passes, delete_when_done, run_flag, purge_slack, cluster_size);
    auto start = std::chrono::steady_clock::now();
    std::vector<torvix::BatchFile> batch;
    try {
        batch.reserve(static_cast<std::size_t>(count));
        for (int32_t i = 0; i < count; ++i)
            batch.push_back({files[i].name, {files[i].device, files[i].inode}});
        torvix::SystemFileLayer layer;
        torvix::PurgeBatchAt(folder, batch, request, layer, torvix::MakeCryptoRandomSource,
                             torvix::kBatchWorkers);
    } catch (...) {
        // Out of memory: no file is said to be purged (like a single purge
        // that fails so, one may be overwritten and not deleted).
        batch.assign(static_cast<std::size_t>(count), {});
        for (auto& file : batch) file.result = torvix::kPurgeOtherFailure;
    }
    for (int32_t i = 0; i < count; ++i) files[i].result = batch[static_cast<std::size_t>(i)].result;
    if (seconds != nullptr) *seconds = WholeSeconds(std::chrono::steady_clock::now() - start);
    return 0;
}
