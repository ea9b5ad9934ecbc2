// The pass loop: writes overwrites over a file's bytes and flushes each one.
//
// Every overwrite starts at byte 0 and covers the file's extent: its data
// and, with slack, the rest of its last cluster. Short writes are continued
// where they stopped; a write that makes no progress a few times in a row,
// or fails (disk full included), ends the overwrite with -3, so a full disk
// never hangs the loop. Each overwrite is flushed to the device before the
// next one starts; a failed flush is -7. A random overwrite whose generator
// fails is -1 and writes nothing more from that stream.
//
// Someone may append to the file while it is overwritten. After each flush
// the length is read again and any new bytes get the same overwrite (the
// pattern, or the random stream continued) and a flush of their own, for a
// few rounds; a file still growing then is -10, since reporting it purged
// would leave its newest data on the disk.
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

// What the overwrites of a file cover. It starts from the file's length and
// grows with the file.
class Extent {
  public:
    // clusterSize 0: no slack.
    Extent(uint64_t length, uint64_t clusterSize);
    uint64_t length() const { return length_; }  // the data, which the file keeps
    uint64_t end() const { return end_; }        // where each overwrite stops
    // The file now holds `size` bytes. True (and the extent covers them)
    // when that is more than the overwrites covered so far.
    bool GrowTo(uint64_t size);

  private:
    uint64_t EndOf(uint64_t length) const;
    uint64_t cluster_;
    uint64_t length_;
    uint64_t end_;
};

// Rounds of new bytes an overwrite follows before giving up on a file.
inline constexpr int kMaxGrowthRounds = 16;

// Writes data[0..size) at offset, continuing short writes. 0, -3.
int32_t WriteFully(FileLayer& layer, Handle file, const unsigned char* data, std::size_t size,
                   uint64_t offset);

// One overwrite of the extent, with flushes, following growth. 0, -1, -3,
// -7, -10.
int32_t OverwriteOnce(FileLayer& layer, Handle file, const OverwriteStep& step, Extent& extent,
                      WriteBuffer& buffer, RandomSource& random);

// All overwrites of steps in order; stops at the first failure. 0, -1, -3,
// -7, -10.
int32_t OverwritePass(FileLayer& layer, Handle file, std::span<const OverwriteStep> steps,
                      Extent& extent, WriteBuffer& buffer, RandomSource& random);

}  // namespace torvix
