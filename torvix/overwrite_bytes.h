// Where the bytes of one overwrite come from, piece by piece and in order.
//
// An overwrite asks for the next bytes until it has covered the file; when
// the file grows it simply asks for more, so a pattern goes on and a random
// stream continues where it stopped.
#pragma once

#include <cstddef>

#include "torvix/overwrite.h"

namespace torvix {

class OverwriteBytes {
  public:
    virtual ~OverwriteBytes() = default;
    // Points *data at the next bytes of the overwrite, at most `wanted` and
    // at least one, and gives their number. False when the generator failed.
    virtual bool Next(std::size_t wanted, const unsigned char** data, std::size_t* size) = 0;
};

// One byte value, over and over.
class PatternBytes final : public OverwriteBytes {
  public:
    PatternBytes(unsigned char byte, WriteBuffer& buffer);
    bool Next(std::size_t wanted, const unsigned char** data, std::size_t* size) override;

  private:
    WriteBuffer& buffer_;
};

// The random source's current stream, generated just before it is written.
class InlineRandomBytes final : public OverwriteBytes {
  public:
    InlineRandomBytes(RandomSource& random, WriteBuffer& buffer)
        : random_(random), buffer_(buffer) {}
    bool Next(std::size_t wanted, const unsigned char** data, std::size_t* size) override;

  private:
    RandomSource& random_;
    WriteBuffer& buffer_;
};

}  // namespace torvix
