#include "veldran/Generators.h"

namespace veldran {

int SeedGenerator::Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

int SeedGenerator::NextPassSeed() {
    int seed;
    do {
        Next();
        Next();
        seed = Next();
    } while (seed < 256);
    return seed;
}

uint32_t BlockGenerator::Next() {
    state_ = state_ * 15013869u + 387u;
    return state_;
}

unsigned BlockGenerator::NextStride() {
    uint32_t draw;
    do {
        draw = Next();
    } while ((draw & 1u) == 0);
    return draw & 0x7Fu;
}

}  // namespace veldran
