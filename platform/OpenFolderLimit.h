// A run holds one open folder for every level of the tree it is in, so the
// depth it can reach is the number of handles a process may hold. The
// program asks for as many as the system allows it at start-up.
#pragma once

namespace platform {

// Raises the process's limit of open handles to the most it may have.
void AllowManyOpenFolders();

}  // namespace platform
