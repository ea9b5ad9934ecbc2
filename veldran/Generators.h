// The two pseudo-random generators of the random passes. Both are linear
// congruential generators on a 32-bit state, updated modulo 2^32: the wipe
// needs data that differs from pass to pass and from block to block, cheaply,
// not data that an observer cannot predict.
#pragma once

#include <cstdint>

namespace veldran {

// Chooses the seed of each random pass. Seeded once a run, from the time of day.
class SeedGenerator {
  public:
    explicit SeedGenerator(uint32_t seed) : state_(seed) {}

    // A number from 0 to 32767 (bits 16 to 30 of the new state).
    int Next();

    // The seed of a random pass: the third of three draws, drawn again until
    // it is at least 256, because smaller fill values mean a fixed byte.
    int NextPassSeed();

  private:
    uint32_t state_;
};

// Makes the 4,096 words of a random pass and the stride of each of its blocks.
// Seeded at the start of each random pass with the pass's seed.
class BlockGenerator {
  public:
    explicit BlockGenerator(uint32_t seed) : state_(seed) {}

    // The whole new state.
    uint32_t Next();

    // An odd number from 1 to 127: the low seven bits of the first odd draw.
    unsigned NextStride();

  private:
    uint32_t state_;
};

}  // namespace veldran
