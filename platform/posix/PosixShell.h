// The POSIX shell with a chosen hand-over wait, for tests; the program
// uses MakePosixShell() of Shell.h.
//
// OpenAddress runs xdg-open and waits for it at most handOverWait: xdg-open
// usually hands the address to a running browser and ends at once, but
// without a desktop session it may run the browser itself and not end until
// the browser does. Still running after the wait counts as opened; the
// process is collected in the background when it ends.
//
// Its results, numbered as the shell's own errors so that the user's box
// reads the same everywhere:
//   0   the address was handed to a program;
//   2   the address names a local file that does not exist;
//   31  nothing can open it: xdg-open is missing or finds no program;
//   8   the process could not be started (no memory, too many processes);
//   otherwise xdg-open's own exit status (1 bad address, 4 the program it
//   chose failed), or 4 when xdg-open was killed.
#pragma once

#include <chrono>
#include <memory>

#include "platform/Shell.h"

namespace platform {

std::shared_ptr<Shell> MakePosixShell(std::chrono::milliseconds handOverWait);

}  // namespace platform
