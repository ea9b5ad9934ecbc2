#include "platform/Shell.h"

namespace platform {
namespace {
std::shared_ptr<Shell>& Override() {
    static std::shared_ptr<Shell> shell;
    return shell;
}
}  // namespace

Shell& TheShell() {
    if (Override()) return *Override();
    static std::shared_ptr<Shell> real = MakePosixShell();
    return *real;
}

void SetShellForTesting(std::shared_ptr<Shell> shell) { Override() = std::move(shell); }

}  // namespace platform
