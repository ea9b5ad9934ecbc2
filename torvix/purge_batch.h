// Purging many files of one folder together.
//
// A file's overwrite must be on the device before the file is shortened,
// renamed or removed, and a flush is a round trip to the device: one file
// after another, the flushes, not the bytes, set the pace. Here several
// files are overwritten at once, each by the very steps of a single purge
// (its own flushes included) on a worker thread of its own, so that their
// flushes reach the device together and it serves them as one. Meanwhile
// the calling thread hides and removes the names of the files done so far,
// a group at a time, with one folder flush for the renames of the group and
// one for its removals: the folder's work overlaps the overwrites still
// going on, and each file keeps the order a single purge keeps (its
// overwrite on the device before it is emptied and its name hidden, its
// hidden name on the device before it is removed).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "torvix/file_layer.h"
#include "torvix/purge_engine.h"
#include "torvix/purge_target.h"
#include "torvix/random_source.h"

namespace torvix {

// Files one call may take: a batch holds no more open files than workers,
// but every name is checked and renamed in one go.
inline constexpr int32_t kMaxBatchFiles = 4096;
// Files overwritten at the same time. Measured on a virtual disk, 20,000
// small files: 8 workers took 4.8 s, 16 took 3.7 s, 32 took 3.0 s, and 64
// no less than 32 for more processor time.
inline constexpr int kBatchWorkers = 32;

struct BatchFile {
    std::string name;   // an entry of the folder
    FileIdentity seen;  // the file the caller looked at
    int32_t result = 0;  // as kz_purge_file_at's result for this file
};

// Makes the random source of one worker: sources are used by one thread only.
using RandomSourceMaker = std::function<std::unique_ptr<RandomSource>()>;

// Purges every file of `files` in the caller's open folder as PurgeOneFileAt
// would, each getting its own result. The file layer must take calls from
// several threads at once. workers: at least 1.
void PurgeBatchAt(Handle folder, std::span<BatchFile> files, const PurgeRequest& request,
                  FileLayer& layer, const RandomSourceMaker& makeRandom, int workers);

}  // namespace torvix
