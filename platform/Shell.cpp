#include "platform/Shell.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<Shell>& Slot() {
    static ServiceSlot<Shell> slot(&MakeSystemShell);
    return slot;
}
}  // namespace

Shell& TheShell() { return Slot().Get(); }

void SetShellForTesting(std::shared_ptr<Shell> shell) { Slot().Override(std::move(shell)); }

}  // namespace platform
