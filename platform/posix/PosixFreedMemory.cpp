#include <cstdlib>  // defines __GLIBC__ on glibc

#include "platform/FreedMemory.h"
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReturnLargeFreedBlocks() {
#if defined(__GLIBC__)
    // glibc raises its threshold for mapping a block of its own to the size
    // of each mapped block freed, up to 32 MiB: after a list of 10 MB was
    // moved to a larger one, blocks below that size are carved from the heap
    // and, once freed, stay with the process. Any fixed threshold stops
    // that; this one is glibc's own starting value.
    constexpr int kMappedFrom = 128 * 1024;
    ::mallopt(M_MMAP_THRESHOLD, kMappedFrom);
#endif
}

}  // namespace platform
