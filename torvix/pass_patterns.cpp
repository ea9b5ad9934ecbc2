#include "torvix/pass_patterns.h"

namespace torvix {
namespace {

constexpr OverwriteStep kRandom{true, 0};
constexpr OverwriteStep Pattern(unsigned char byte) { return {false, byte}; }

constexpr OverwriteStep kRandomBytes[] = {kRandom};
constexpr OverwriteStep kBitPatterns[] = {Pattern(0xAA), Pattern(0x55), Pattern(0x0A),
                                          Pattern(0xF5)};
constexpr OverwriteStep kBitPatternsAndRandom[] = {Pattern(0xAA), Pattern(0x55), kRandom,
                                                   Pattern(0x0A), Pattern(0xF5), kRandom};

}  // namespace

std::span<const OverwriteStep> PassSteps(int32_t purgeType) {
    switch (purgeType) {
        case 0:
            return kRandomBytes;
        case 1:
            return kBitPatterns;
        case 2:
            return kBitPatternsAndRandom;
        default:
            return {};
    }
}

}  // namespace torvix
