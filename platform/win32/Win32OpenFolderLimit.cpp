#include "platform/OpenFolderLimit.h"

namespace platform {

// Windows sets no per-process limit of open handles that a program could
// raise: a run may hold as many folders open as memory allows.
void AllowManyOpenFolders() {}

}  // namespace platform
