#include "platform/ReservedSpace.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<ReservedSpace>& Slot() {
    static ServiceSlot<ReservedSpace> slot(&MakeSystemReservedSpace);
    return slot;
}
}  // namespace

ReservedSpace& Reserves() { return Slot().Get(); }
void SetReservedSpaceForTesting(std::shared_ptr<ReservedSpace> reserves) {
    Slot().Override(std::move(reserves));
}

}  // namespace platform
