#include "torvix/purge_batch.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <pthread.h>
#include <signal.h>
#endif

#include "torvix/hide_and_delete.h"
#include "torvix/purge_codes.h"

namespace torvix {
namespace {

// A signal is the caller's business (a stop asked for between files): the
// workers never take one, so it reaches the caller's thread as it would
// without them and no worker's call is cut short by it.
void LeaveSignalsToTheCaller() {
#if !defined(_WIN32)
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
#endif
}

// One file as far as it goes without its folder: opened and checked,
// overwritten, and emptied when it is to be deleted, each step flushed.
int32_t OverwriteAndEmpty(Handle folder, const BatchFile& file, const PurgeRequest& request,
                          FileLayer& layer, RandomSource& random, FileFacts* facts) {
    Handle opened = kNoHandle;
    int32_t result = OpenPurgeTarget(layer, folder, file.name, &file.seen,
                                     {.notTheFileSeen = kPurgeNotTheFileSeen}, &opened, facts);
    if (result != kPurgeDone) return result;
    result = OverwriteOpenFile(opened, *facts, request, layer, random);
    if (result >= kPurgeDone && request.deleteWhenDone) {
        if (int32_t emptied = EmptyFile(layer, opened)) result = emptied;
    }
    layer.Close(opened);
    return result;
}

void OverwriteAll(Handle folder, std::span<BatchFile> files, std::vector<FileFacts>& facts,
                  const PurgeRequest& request, FileLayer& layer,
                  const RandomSourceMaker& makeRandom, int workers) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        std::unique_ptr<RandomSource> random;
        try {
            random = makeRandom();
        } catch (...) {
        }
        for (std::size_t i; (i = next++) < files.size();) {
            try {
                files[i].result =
                    random ? OverwriteAndEmpty(folder, files[i], request, layer, *random, &facts[i])
                           : kPurgeOtherFailure;
            } catch (...) {
                files[i].result = kPurgeOtherFailure;
            }
        }
    };
    std::vector<std::thread> pool;
    const std::size_t threads = std::min<std::size_t>(std::max(workers, 1), files.size());
    if (threads > 1) {
        try {
            for (std::size_t t = 0; t < threads; ++t) {
                pool.emplace_back([&] {
                    LeaveSignalsToTheCaller();
                    work();
                });
            }
        } catch (...) {
            // Fewer threads than asked for: those running take every file.
        }
    }
    if (pool.empty()) work();
    for (std::thread& thread : pool) thread.join();
}

}  // namespace

void PurgeBatchAt(Handle folder, std::span<BatchFile> files, const PurgeRequest& request,
                  FileLayer& layer, const RandomSourceMaker& makeRandom, int workers) {
    if (int32_t invalid = CheckArguments(request)) {
        for (BatchFile& file : files) file.result = invalid;
        return;
    }
    std::vector<FileFacts> facts(files.size());
    OverwriteAll(folder, files, facts, request, layer, makeRandom, workers);
    if (!request.deleteWhenDone) return;

    // Every file left here is overwritten and emptied on the device.
    std::unique_ptr<RandomSource> random = makeRandom();
    std::vector<std::string> hidden(files.size());
    std::vector<std::size_t> renamed;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].result < kPurgeDone) continue;
        int32_t result = random ? HideName(layer, folder, files[i].name, facts[i], *random,
                                           &hidden[i])
                                : kPurgeRenameFailed;
        if (result != kPurgeDone) {
            files[i].result = result;
        } else {
            renamed.push_back(i);
        }
    }
    if (renamed.empty()) return;
    if (layer.SyncFolder(folder) != 0) {
        for (std::size_t i : renamed) files[i].result = kPurgeRenameFailed;
        return;
    }

    // Every name removed here was hidden on the device first.
    std::vector<std::size_t> removed;
    for (std::size_t i : renamed) {
        if (int32_t result = RemoveHiddenName(layer, folder, hidden[i], facts[i])) {
            files[i].result = result;
        } else {
            removed.push_back(i);
        }
    }
    if (!removed.empty() && layer.SyncFolder(folder) != 0) {
        for (std::size_t i : removed) files[i].result = kPurgeRemoveFailed;
    }
}

}  // namespace torvix
