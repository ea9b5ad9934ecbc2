#include "torvix/overwrite.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <new>

#include "torvix/overwrite_bytes.h"
#include "torvix/pipelined_random_bytes.h"
#include "torvix/purge_codes.h"

namespace torvix {
namespace {

// A regular file that accepts no byte this often in a row will not take more.
constexpr int kMaxAttemptsWithoutProgress = 8;

// Left to itself the system keeps the written bytes in memory and writes
// them out at the flush, so the device idles while the overwrite makes and
// copies its bytes, and then the overwrite idles while the device works.
// Handing each window to the device as soon as the writes have passed it
// keeps both busy at once. The windows are small so that the device starts
// early and little is left for the flush at the end: writes only copy into
// memory and run ahead of the device, so the windows handed over queue up
// there and the device never waits between them.
constexpr uint64_t kWriteBackWindow = uint64_t{16} << 20;

// The writes went on from `before` to `after`: hands over every window that
// they completed.
void StartWriteBackBehind(FileLayer& layer, Handle file, uint64_t before, uint64_t after) {
    uint64_t from = before / kWriteBackWindow * kWriteBackWindow;
    uint64_t to = after / kWriteBackWindow * kWriteBackWindow;
    if (to > from) layer.StartWriteBack(file, from, to - from);
}

// A write refused for want of space (a full disk or a used-up quota).
bool OutOfSpace(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC;
}

// Writes the next bytes of the overwrite over [from, to); a failed write's
// error number goes to *error.
int32_t WriteRange(FileLayer& layer, Handle file, OverwriteBytes& bytes, uint64_t from, uint64_t to,
                   int* error = nullptr) {
    for (uint64_t offset = from; offset < to;) {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
        std::size_t wanted = static_cast<std::size_t>(std::min<uint64_t>(to - offset, SIZE_MAX));
        if (!bytes.Next(wanted, &data, &size) || size == 0) return kPurgeOtherFailure;
        int32_t result = WriteFully(layer, file, data, size, offset, error);
        if (result != kPurgeDone) return result;
        StartWriteBackBehind(layer, file, offset, offset + size);
        offset += size;
    }
    return kPurgeDone;
}

}  // namespace

namespace {
constexpr std::align_val_t kPageAlignment{4096};
}

WriteBuffer::WriteBuffer(std::size_t size) {
    if (size == 0) return;
    data_ = static_cast<unsigned char*>(::operator new(size, kPageAlignment, std::nothrow));
    if (data_ != nullptr) size_ = size;
}

WriteBuffer::~WriteBuffer() {
    if (data_ != nullptr) ::operator delete(data_, kPageAlignment);
}

Extent::Extent(uint64_t length, uint64_t clusterSize)
    : cluster_(clusterSize), length_(length), end_(EndOf(length)) {}

uint64_t Extent::EndOf(uint64_t length) const {
    if (cluster_ == 0) return length;
    return (length + cluster_ - 1) / cluster_ * cluster_;
}

bool Extent::GrowTo(uint64_t size) {
    // Slack written past the data makes the file this long by our own hand.
    if (size <= end_) return false;
    length_ = size;
    end_ = EndOf(size);
    return true;
}

int32_t WriteFully(FileLayer& layer, Handle file, const unsigned char* data, std::size_t size,
                   uint64_t offset, int* failure) {
    int attemptsWithoutProgress = 0;
    while (size > 0) {
        std::size_t written = 0;
        int error = layer.WriteAt(file, data, size, offset, &written);
        if (error != 0 && error != EINTR && error != EAGAIN) {
            if (failure != nullptr) *failure = error;
            return kPurgeWriteFailed;
        }
        if (error == 0 && written > size) return kPurgeWriteFailed;
        if (error != 0 || written == 0) {
            if (++attemptsWithoutProgress >= kMaxAttemptsWithoutProgress) return kPurgeWriteFailed;
            continue;
        }
        attemptsWithoutProgress = 0;
        data += written;
        size -= written;
        offset += written;
    }
    return kPurgeDone;
}

int32_t OverwriteOnce(FileLayer& layer, Handle file, const OverwriteStep& step, Extent& extent,
                      WriteBuffer& buffer, RandomSource& random) {
    std::unique_ptr<OverwriteBytes> bytes;
    if (step.random) {
        if (!random.BeginStream()) return kPurgeOtherFailure;
        // A file of one buffer or less leaves nothing to overlap, and a
        // cheap stream is made faster than it could be handed over.
        if (extent.end() > buffer.size() && !random.MakesBytesCheaply()) {
            auto pipelined = std::make_unique<PipelinedRandomBytes>(random);
            if (pipelined->ok()) bytes = std::move(pipelined);
        }
        if (!bytes) bytes = std::make_unique<InlineRandomBytes>(random, buffer);
    } else {
        bytes = std::make_unique<PatternBytes>(step.byte, buffer);
    }
    uint64_t covered = 0;
    for (int round = 0;; ++round) {
        // The data first, which sits in place; then the slack, which a file
        // system may need new space for: on a full disk the data is still
        // overwritten, and the slack is given up instead of the file.
        const uint64_t dataEnd = std::max(covered, extent.length());
        int32_t result = WriteRange(layer, file, *bytes, covered, dataEnd);
        if (result != kPurgeDone) return result;
        int error = 0;
        result = WriteRange(layer, file, *bytes, dataEnd, extent.end(), &error);
        if (result == kPurgeWriteFailed && OutOfSpace(error)) {
            extent.SlackNotReached();
        } else if (result != kPurgeDone) {
            return result;
        }
        covered = extent.end();
        if (layer.SyncData(file) != 0) return kPurgeFlushFailed;
        FileFacts now;
        if (layer.Stat(file, &now) != 0) return kPurgeOtherFailure;
        if (!extent.GrowTo(now.size)) return kPurgeDone;
        if (round == kMaxGrowthRounds) return kPurgeKeptGrowing;
    }
}

int32_t OverwritePass(FileLayer& layer, Handle file, std::span<const OverwriteStep> steps,
                      Extent& extent, WriteBuffer& buffer, RandomSource& random) {
    for (const OverwriteStep& step : steps) {
        int32_t result = OverwriteOnce(layer, file, step, extent, buffer, random);
        if (result != kPurgeDone) return result;
    }
    return kPurgeDone;
}

}  // namespace torvix
