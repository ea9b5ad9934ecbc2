// A run holds open the folders of the levels of the tree it is in (up to a
// few hundred on POSIX, where the levels above are opened again on the way
// back; every level on Windows), besides the files it purges. The program
// asks for as many handles as the system allows it at start-up.
#pragma once

namespace platform {

// Raises the process's limit of open handles to the most it may have.
void AllowManyOpenFolders();

}  // namespace platform
