// The pass loop: writes overwrites over a file's bytes and flushes each one.
//
// Every overwrite starts at byte 0 and covers [0, end). Short writes are
// continued where they stopped; a write that makes no progress a few times
// in a row, or fails (disk full included), ends the overwrite with -3, so a
// full disk never hangs the loop. Each overwrite is flushed to the device
// before the next one starts; a failed flush is -7. A random overwrite whose
// generator fails is -1 and writes nothing from that stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "torvix/file_layer.h"
#include "torvix/pass_patterns.h"
#include "torvix/random_source.h"

namespace torvix {

// A page-aligned scratch buffer for the bytes of one write.
class WriteBuffer {
  public:
    static constexpr std::size_t kDefaultSize = std::size_t{1} << 20;

    explicit WriteBuffer(std::size_t size = kDefaultSize);
    ~WriteBuffer();
    WriteBuffer(const WriteBuffer&) = delete;
    WriteBuffer& operator=(const WriteBuffer&) = delete;

    bool ok() const { return data_ != nullptr; }
    unsigned char* data() { return data_; }
    std::size_t size() const { return size_; }

  private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Writes data[0..size) at offset, continuing short writes. 0, -3.
int32_t WriteFully(FileLayer& layer, int file, const unsigned char* data, std::size_t size,
                   uint64_t offset);

// One overwrite of [0, end) followed by a flush. 0, -1, -3, -7.
int32_t OverwriteOnce(FileLayer& layer, int file, const OverwriteStep& step, uint64_t end,
                      WriteBuffer& buffer, RandomSource& random);

// All overwrites of steps in order; stops at the first failure. 0, -1, -3, -7.
int32_t OverwritePass(FileLayer& layer, int file, std::span<const OverwriteStep> steps,
                      uint64_t end, WriteBuffer& buffer, RandomSource& random);

}  // namespace torvix
