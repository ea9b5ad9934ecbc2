#include "torvix/overwrite.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "torvix/purge_codes.h"

namespace torvix {
namespace {

// A regular file that accepts no byte this often in a row will not take more.
constexpr int kMaxAttemptsWithoutProgress = 8;

}  // namespace

WriteBuffer::WriteBuffer(std::size_t size) {
    void* memory = nullptr;
    if (size > 0 && posix_memalign(&memory, 4096, size) == 0) {
        data_ = static_cast<unsigned char*>(memory);
        size_ = size;
    }
}

WriteBuffer::~WriteBuffer() { std::free(data_); }

int32_t WriteFully(FileLayer& layer, int file, const unsigned char* data, std::size_t size,
                   uint64_t offset) {
    int attemptsWithoutProgress = 0;
    while (size > 0) {
        std::size_t written = 0;
        int error = layer.WriteAt(file, data, size, offset, &written);
        if (error != 0 && error != EINTR && error != EAGAIN) return kPurgeWriteFailed;
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

int32_t OverwriteOnce(FileLayer& layer, int file, const OverwriteStep& step, uint64_t end,
                      WriteBuffer& buffer, RandomSource& random) {
    if (step.random) {
        if (!random.BeginStream()) return kPurgeOtherFailure;
    } else {
        std::memset(buffer.data(), step.byte, buffer.size());
    }
    for (uint64_t offset = 0; offset < end;) {
        std::size_t piece =
            static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), end - offset));
        if (step.random && !random.Fill(buffer.data(), piece)) return kPurgeOtherFailure;
        int32_t result = WriteFully(layer, file, buffer.data(), piece, offset);
        if (result != kPurgeDone) return result;
        offset += piece;
    }
    return layer.SyncData(file) == 0 ? kPurgeDone : kPurgeFlushFailed;
}

int32_t OverwritePass(FileLayer& layer, int file, std::span<const OverwriteStep> steps,
                      uint64_t end, WriteBuffer& buffer, RandomSource& random) {
    for (const OverwriteStep& step : steps) {
        int32_t result = OverwriteOnce(layer, file, step, end, buffer, random);
        if (result != kPurgeDone) return result;
    }
    return kPurgeDone;
}

}  // namespace torvix
