#include "platform/FreedMemory.h"

namespace platform {

// The Windows heap maps each block of about a megabyte or more on its own
// and unmaps it when it is freed, whatever was allocated before.
void ReturnLargeFreedBlocks() {}

}  // namespace platform
