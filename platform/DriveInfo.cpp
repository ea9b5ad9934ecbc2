#include "platform/DriveInfo.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<DriveInfo>& Slot() {
    static ServiceSlot<DriveInfo> slot(&MakeSystemDriveInfo);
    return slot;
}
}  // namespace

DriveInfo& Drive() { return Slot().Get(); }

void SetDriveInfoForTesting(std::shared_ptr<DriveInfo> info) { Slot().Override(std::move(info)); }

}  // namespace platform
