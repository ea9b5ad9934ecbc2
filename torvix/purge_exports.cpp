// kz_purge_file: the overwrite engine with the real file system and the
// cryptographic random source, timed, behind the C interface.
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>

#include "torvix/posix_file_layer.h"
#include "torvix/purge_codes.h"
#include "torvix/purge_engine.h"
#include "torvix/torvix.h"

namespace {

int32_t WholeSeconds(std::chrono::steady_clock::duration elapsed) {
    double seconds = std::round(std::chrono::duration<double>(elapsed).count());
    if (seconds >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(seconds);
}

int32_t Purge(const char* path, int32_t purge_type, int32_t passes, int32_t delete_when_done,
              int32_t run_flag, int32_t purge_slack, int32_t cluster_size) {
    if (path == nullptr) return torvix::kPurgeOtherFailure;
    torvix::PurgeRequest request;
    request.path = path;
    request.purgeType = purge_type;
    request.passes = passes;
    request.deleteWhenDone = delete_when_done != 0;
    request.runFlag = run_flag != 0;
    request.purgeSlack = purge_slack != 0;
    request.clusterSize = cluster_size;
    std::unique_ptr<torvix::RandomSource> random = torvix::MakeCryptoRandomSource();
    if (!random) return torvix::kPurgeOtherFailure;
    torvix::PosixFileLayer layer;
    return torvix::PurgeOneFile(request, layer, *random);
}

}  // namespace

extern "C" int32_t kz_purge_file(const char* path, int32_t purge_type, int32_t passes,
                                 int32_t delete_when_done, int32_t run_flag, int32_t purge_slack,
                                 int32_t cluster_size, int32_t* seconds) {
    auto start = std::chrono::steady_clock::now();
    int32_t result;
    try {
        result =
            Purge(path, purge_type, passes, delete_when_done, run_flag, purge_slack, cluster_size);
    } catch (...) {
        result = torvix::kPurgeOtherFailure;  // nothing may cross the C boundary
    }
    if (seconds != nullptr) *seconds = WholeSeconds(std::chrono::steady_clock::now() - start);
    return result;
}
