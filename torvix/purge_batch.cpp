#include "torvix/purge_batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
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
// overwritten (each overwrite flushed), and emptied when it is to be deleted.
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

// Files overwritten (on the device) and emptied, handed from the
// workers to the thread that hides and removes their names. Room for every
// file is taken at the start, so handing one over cannot fail.
class FinishedFiles {
  public:
    FinishedFiles(std::size_t files, std::size_t workers) : order_(files), working_(workers) {}

    void Add(std::size_t file) {
        std::lock_guard<std::mutex> lock(mutex_);
        order_[added_++] = file;
        // Waking the taker for a group it will not take yet costs a switch
        // of threads a file.
        if (added_ - taken_ >= wanted_) changed_.notify_one();
    }
    void WorkerDone() {
        std::lock_guard<std::mutex> lock(mutex_);
        --working_;
        changed_.notify_one();
    }
    // Waits for at least `fewest` files not taken yet, or for every worker
    // to be done; none once every worker is done and every file taken.
    std::span<std::size_t> Take(std::size_t fewest) {
        std::unique_lock<std::mutex> lock(mutex_);
        wanted_ = fewest;
        changed_.wait(lock, [&] { return added_ - taken_ >= fewest || working_ == 0; });
        std::span<std::size_t> files(order_.data() + taken_, added_ - taken_);
        taken_ = added_;
        return files;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::size_t> order_;
    std::size_t added_ = 0, taken_ = 0;
    std::size_t wanted_ = 1;  // files the taker waits for
    std::size_t working_;
};

// Hides the names of `group`, each file of it overwritten on the device and
// emptied, flushes the folder, then removes the hidden names and flushes
// the folder again: no name is removed before its hidden name is on the
// device.
void HideAndRemove(Handle folder, std::span<BatchFile> files, std::span<std::size_t> group,
                   std::span<const FileFacts> facts, FileLayer& layer, RandomSource* random) {
    std::sort(group.begin(), group.end());
    std::vector<std::string> hidden(group.size());
    std::vector<std::size_t> renamed;
    for (std::size_t g = 0; g < group.size(); ++g) {
        const std::size_t i = group[g];
        int32_t result = random
                             ? HideName(layer, folder, files[i].name, facts[i], *random, &hidden[g])
                             : kPurgeRenameFailed;
        if (result != kPurgeDone) {
            files[i].result = result;
        } else {
            renamed.push_back(g);
        }
    }
    if (renamed.empty()) return;
    if (layer.SyncFolder(folder) != 0) {
        for (std::size_t g : renamed) files[group[g]].result = kPurgeRenameFailed;
        return;
    }

    std::vector<std::size_t> removed;
    for (std::size_t g : renamed) {
        const std::size_t i = group[g];
        if (int32_t result = RemoveHiddenName(layer, folder, hidden[g], facts[i])) {
            files[i].result = result;
        } else {
            removed.push_back(i);
        }
    }
    if (!removed.empty() && layer.SyncFolder(folder) != 0) {
        for (std::size_t i : removed) files[i].result = kPurgeRemoveFailed;
    }
}

}  // namespace

void PurgeBatchAt(Handle folder, std::span<BatchFile> files, const PurgeRequest& request,
                  FileLayer& layer, const RandomSourceMaker& makeRandom, int workers) {
    if (int32_t invalid = CheckArguments(request)) {
        for (BatchFile& file : files) file.result = invalid;
        return;
    }
    if (files.empty()) return;
    std::vector<FileFacts> facts(files.size());
    const std::size_t threads = std::min<std::size_t>(std::max(workers, 1), files.size());
    FinishedFiles finished(files.size(), threads);

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
            if (files[i].result >= kPurgeDone && request.deleteWhenDone) finished.Add(i);
        }
        finished.WorkerDone();
    };
    std::vector<std::thread> pool;
    if (threads > 1) {
        try {
            pool.reserve(threads);
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
    // Workers that could not be started are done already; without any, the
    // caller overwrites every file first.
    for (std::size_t missing = pool.empty() ? threads - 1 : threads - pool.size(); missing > 0;
         --missing) {
        finished.WorkerDone();
    }
    if (pool.empty()) work();

    // Meanwhile the names of the files done so far are hidden and removed,
    // a group at a time, so that the folder's renames and flushes overlap
    // the overwrites of the files still to come.
    try {
        std::unique_ptr<RandomSource> random;
        bool madeRandom = false;
        // Each group costs two folder flushes: a group waits for an eighth of
        // the call's files (or one per worker), so that a call makes a few
        // groups, not one a file, and the last, not overlapped, stays small.
        const std::size_t fewest = std::max({threads, files.size() / 8, std::size_t{1}});
        for (std::span<std::size_t> group; !(group = finished.Take(fewest)).empty();) {
            if (!madeRandom) {
                random = makeRandom();
                madeRandom = true;
            }
            HideAndRemove(folder, files, group, facts, layer, random.get());
        }
    } catch (...) {
        for (std::thread& thread : pool) thread.join();
        throw;
    }
    for (std::thread& thread : pool) thread.join();
}

}  // namespace torvix
