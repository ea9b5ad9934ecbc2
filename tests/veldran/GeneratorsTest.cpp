#include <gtest/gtest.h>

#include "veldran/Generators.h"

namespace veldran {
namespace {

// Expected values worked out by hand from the constants; for example
// 1 * 214013 + 2531011 = 2745024, whose bits 16 to 30 are 41.
TEST(VeldranGenerators, FollowTheirConstants) {
    SeedGenerator seeds(1);
    EXPECT_EQ(seeds.Next(), 41);
    EXPECT_EQ(seeds.Next(), 18467);
    EXPECT_EQ(seeds.Next(), 6334);

    // 256 * 15013869 = 0xE517ED00, plus 387.
    EXPECT_EQ(BlockGenerator(256).Next(), 0xE517EE83u);
}

TEST(VeldranGenerators, PassSeedsAreThirdDrawsOfAtLeast256) {
    SeedGenerator seeds(1);  // draws 41 18467 6334, 26500 19169 15724
    EXPECT_EQ(seeds.NextPassSeed(), 6334);
    EXPECT_EQ(seeds.NextPassSeed(), 15724);

    SeedGenerator low(19);  // draws 100 15331 209, then 888 8224 20869
    EXPECT_EQ(low.NextPassSeed(), 20869);
    SeedGenerator edge(18947);  // draws 29143 4655 255, then 28858 10744 28188
    EXPECT_EQ(edge.NextPassSeed(), 28188) << "255 is below 256: drawn again";
}

TEST(VeldranGenerators, StrideIsLowBitsOfFirstOddDraw) {
    // Draws from 6334: 0x2445FB69, 0xC34D30B8 (even), 0x526EA3DB.
    BlockGenerator blocks(6334);
    EXPECT_EQ(blocks.NextStride(), 0x69u);
    EXPECT_EQ(blocks.NextStride(), 0x5Bu);
}

}  // namespace
}  // namespace veldran
