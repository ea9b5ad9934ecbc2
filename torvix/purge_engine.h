// One call of kz_purge_file, with its file layer and random source passed in
// so that tests can run the production code against recording or failing
// fakes.
#pragma once

#include <cstdint>
#include <string>

#include "torvix/file_layer.h"
#include "torvix/random_source.h"

namespace torvix {

inline constexpr int32_t kMinClusterSize = 512;
inline constexpr int32_t kMaxClusterSize = 65536;

struct PurgeRequest {
    std::string path;       // native path of the file; symbolic links are refused
    int32_t purgeType = 0;  // 0..2
    int32_t passes = 1;     // passes of the type, one after the other; at least 1
    bool deleteWhenDone = false;
    bool runFlag = true;       // changes nothing: the speed test must time the very same work
    bool purgeSlack = false;   // also overwrite from the end of data to the end of its last cluster
    int32_t clusterSize = -1;  // read only with purgeSlack
};

// True for the cluster sizes a slack purge accepts: 512..65536 in steps of 512.
bool IsValidClusterSize(int32_t clusterSize);

// Checks the request, opens the file (regular files only, never through a
// symbolic link, never blocking), runs the passes over all of its data (and
// slack), restores its length, and deletes it when asked. The arguments are
// checked before anything is opened. Result codes: purge_codes.h.
int32_t PurgeOneFile(const PurgeRequest& request, FileLayer& layer, RandomSource& random);

}  // namespace torvix
