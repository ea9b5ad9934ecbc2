// The data of one pass, block by block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "veldran/Generators.h"

namespace veldran {

constexpr std::size_t kBlockWords = 4096;
constexpr std::size_t kBlockBytes = kBlockWords * 4;

class PassData {
  public:
    // A fill below 256 is a byte written everywhere; 256 and more is the seed
    // of a random pass.
    explicit PassData(int fill);

    // The next kBlockBytes bytes to write; valid until the next call.
    //
    // A random pass draws its 4,096 words once and has each block walk them
    // with an odd stride, which visits every word once: a block costs a few
    // draws and one copy instead of 4,096 draws.
    const uint8_t* NextBlock();

  private:
    bool random_;
    BlockGenerator generator_;
    std::array<uint8_t, kBlockBytes> pattern_;
    std::array<uint8_t, kBlockBytes> block_;
};

}  // namespace veldran
