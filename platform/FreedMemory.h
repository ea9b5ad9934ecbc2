// A run over a large folder holds its list of entries and its report, which
// grow by doubling: every step frees a block of megabytes. The program asks
// at start-up that such blocks go back to the system when freed, so that
// the memory of a run stays what it holds, not what it once held.
#pragma once

namespace platform {

// Sets the process's allocator to return large freed blocks at once.
void ReturnLargeFreedBlocks();

}  // namespace platform
