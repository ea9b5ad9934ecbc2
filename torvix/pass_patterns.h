// What one pass of each purge type writes, overwrite by overwrite.
//
// Type 0: random bytes. Type 1: 0xAA, 0x55, 0x0A, 0xF5. Type 2: 0xAA, 0x55,
// random, 0x0A, 0xF5, random. Each overwrite covers all of the file's data.
#pragma once

#include <cstdint>
#include <span>

namespace torvix {

struct OverwriteStep {
    bool random;         // a fresh random stream
    unsigned char byte;  // the pattern byte when not random
};

inline constexpr int32_t kMinPurgeType = 0;
inline constexpr int32_t kMaxPurgeType = 2;

// The overwrites of one pass in order; empty for a type outside 0..2.
std::span<const OverwriteStep> PassSteps(int32_t purgeType);

}  // namespace torvix
