#include "veldran/PassData.h"

#include <cstring>

namespace veldran {

PassData::PassData(int fill) : random_(fill >= 256), generator_(static_cast<uint32_t>(fill)) {
    if (!random_) {
        pattern_.fill(static_cast<uint8_t>(fill));
        return;
    }
    // Little-endian whatever the machine, so a seed always means the same bytes.
    for (std::size_t i = 0; i < kBlockWords; ++i) {
        const uint32_t word = generator_.Next();
        for (std::size_t b = 0; b < 4; ++b)
            pattern_[i * 4 + b] = static_cast<uint8_t>(word >> (8 * b));
    }
}

const uint8_t* PassData::NextBlock() {
    if (!random_) return pattern_.data();
    const std::size_t stride = generator_.NextStride();
    for (std::size_t i = 0; i < kBlockWords; ++i) {
        const std::size_t from = (i * stride) % kBlockWords;
        std::memcpy(&block_[i * 4], &pattern_[from * 4], 4);
    }
    return block_.data();
}

}  // namespace veldran
