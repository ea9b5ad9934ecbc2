#include "purge/PurgeBatch.h"

#include <algorithm>
#include <chrono>

namespace {

// The library takes at most this many files a call.
constexpr std::size_t kMostFilesEver = 4096;
// Bytes written by one call, however fast the disk seemed so far.
constexpr double kMostBytes = 32.0 * (1 << 20);
// A call this short may take twice the files next time; one this long,
// half of them.
constexpr double kShortCall = 0.1;
constexpr double kLongCall = 0.4;

}  // namespace

void PurgeBatch::Add(const platform::FolderEntry& entry, double length) {
    files_.push_back({entry, length});
    bytes_ += length;
}

bool PurgeBatch::Full() const { return files_.size() >= mostFiles_ || bytes_ >= kMostBytes; }

void PurgeBatch::Clear() {
    files_.clear();
    bytes_ = 0;
}

std::vector<PurgeBatch::File> PurgeBatch::Purge(
    const std::function<void(std::vector<File>&)>& purge) {
    std::vector<File> files = std::move(files_);
    Clear();
    const auto start = std::chrono::steady_clock::now();
    purge(files);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Only a full call tells how many files fit in the time.
    if (took < kShortCall && files.size() >= mostFiles_) {
        mostFiles_ = std::min(mostFiles_ * 2, kMostFilesEver);
    } else if (took > kLongCall) {
        mostFiles_ = std::max<std::size_t>(mostFiles_ / 2, 1);
    }
    return files;
}
