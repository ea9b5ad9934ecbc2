// One call of kz_purge_file or kz_purge_file_at, with its file layer and
// random source passed in so that tests can run the production code against
// recording, failing or swapping fakes.
#pragma once

#include <cstdint>
#include <string>

#include "torvix/file_layer.h"
#include "torvix/purge_target.h"
#include "torvix/random_source.h"

namespace torvix {

inline constexpr int32_t kMinClusterSize = 512;
inline constexpr int32_t kMaxClusterSize = 65536;

// How to purge a file.
struct PurgeRequest {
    int32_t purgeType = 0;  // 0..2
    int32_t passes = 1;     // passes of the type, one after the other; at least 1
    bool deleteWhenDone = false;
    bool runFlag = true;       // changes nothing: the speed test must time the very same work
    bool purgeSlack = false;   // also overwrite from the end of data to the end of its last cluster
    int32_t clusterSize = -1;  // read only with purgeSlack
};

// True for the cluster sizes a slack purge accepts: 512..65536 in steps of 512.
bool IsValidClusterSize(int32_t clusterSize);

// 0 when the request can be carried out, else its code (-1, -8, -9).
int32_t CheckArguments(const PurgeRequest& request);

// The passes over a file that OpenPurgeTarget opened, and its length given
// back after slack was written behind it; nothing is deleted. 0; 1 when the
// slack could not be reached; else the failure of the passes.
int32_t OverwriteOpenFile(Handle file, const FileFacts& facts, const PurgeRequest& request,
                          FileLayer& layer, RandomSource& random);

// The file at a native path, whose folder is reached with no symbolic link
// in any component; the file found at the name is the one purged. The
// arguments are checked before anything is opened. Result codes:
// purge_codes.h; a file that is not the one looked at, or lies on another
// mount than its folder, is -2.
int32_t PurgeOneFile(const std::string& path, const PurgeRequest& request, FileLayer& layer,
                     RandomSource& random);

// The file `name` of the caller's open folder, which must be the file the
// caller saw (else -12, and nothing is touched). The folder stays open.
int32_t PurgeOneFileAt(Handle folder, const std::string& name, const FileIdentity& seen,
                       const PurgeRequest& request, FileLayer& layer, RandomSource& random);

}  // namespace torvix
