#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

#if defined(__GLIBC__)
// Keeps the compiler from leaving out an allocation nobody reads.
void Use(void* block) { asm volatile("" : : "r"(block) : "memory"); }

std::size_t MappedBytes() { return mallinfo2().hblkhd; }
#endif

}  // namespace

// A run's list of entries grows by doubling; the blocks it leaves behind, and
// every block of a few megabytes after them, must not stay with the process.
TEST(PosixFreedMemoryTest, BlocksSmallerThanOneFreedBeforeStillGoBackWhenFreed) {
#if !defined(__GLIBC__)
    GTEST_SKIP() << "glibc's allocator only";
#else
    platform::ReturnLargeFreedBlocks();
    void* list = std::malloc(std::size_t{16} << 20);
    ASSERT_NE(list, nullptr);
    std::memset(list, 1, std::size_t{16} << 20);
    Use(list);
    std::free(list);

    const std::size_t before = MappedBytes();
    void* report = std::malloc(std::size_t{4} << 20);
    ASSERT_NE(report, nullptr);
    Use(report);
    EXPECT_GE(MappedBytes(), before + (std::size_t{4} << 20)) << "carved from the heap";
    std::free(report);
    EXPECT_EQ(MappedBytes(), before) << "kept by the process once freed";
#endif
}
