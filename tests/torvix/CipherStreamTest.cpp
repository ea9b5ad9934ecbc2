// The production random source: every stream fresh, no block ever repeated,
// no two streams alike, and nothing written as random before a stream has
// been seeded.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "torvix/random_source.h"

namespace {

// A stream's next bytes, asked for in awkward pieces as the overwrites do.
std::vector<unsigned char> Take(torvix::RandomSource& random, std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t at = 0; at < size;) {
        std::size_t piece = std::min<std::size_t>(size - at, (64 << 10) + 3);
        EXPECT_TRUE(random.Fill(bytes.data() + at, piece));
        at += piece;
    }
    return bytes;
}

// Pearson's statistic of the byte counts against an even spread.
double ChiSquare(const std::vector<unsigned char>& bytes) {
    std::array<double, 256> counts{};
    for (unsigned char b : bytes) counts[b] += 1;
    double expected = bytes.size() / 256.0, sum = 0;
    for (double c : counts) sum += (c - expected) * (c - expected) / expected;
    return sum;
}

TEST(CipherStreamTest, EveryStreamIsFreshEvenAndNeverRepeatsABlock) {
    auto random = torvix::MakeCryptoRandomSource();
    ASSERT_NE(random, nullptr);
    unsigned char early[16];
    EXPECT_FALSE(random->Fill(early, sizeof early)) << "bytes before any stream was seeded";

    const std::size_t size = (1 << 20) + 13;
    ASSERT_TRUE(random->BeginStream());
    std::vector<unsigned char> first = Take(*random, size);
    ASSERT_TRUE(random->BeginStream());
    std::vector<unsigned char> second = Take(*random, size);
    EXPECT_NE(first, second);

    for (const auto* stream : {&first, &second}) {
        // 255 degrees of freedom: an even stream stays far below 400.
        EXPECT_LT(ChiSquare(*stream), 400.0);
        // A counter restarted between pieces would repeat whole blocks.
        std::set<std::string> blocks;
        for (std::size_t at = 0; at + 16 <= stream->size(); at += 16)
            blocks.emplace(reinterpret_cast<const char*>(stream->data() + at), 16);
        EXPECT_EQ(blocks.size(), stream->size() / 16);
    }
}

TEST(CipherStreamTest, ThousandsOfStreamsFromTwoSourcesAllDiffer) {
    // More streams than one seeding of a source's keys serves, so that its
    // reseeding is crossed too.
    std::set<std::string> starts;
    for (int source = 0; source < 2; ++source) {
        auto random = torvix::MakeCryptoRandomSource();
        ASSERT_NE(random, nullptr);
        for (int stream = 0; stream < 2500; ++stream) {
            ASSERT_TRUE(random->BeginStream());
            std::vector<unsigned char> start = Take(*random, 16);
            starts.emplace(start.begin(), start.end());
        }
    }
    EXPECT_EQ(starts.size(), 5000u);
}

}  // namespace
