#include "platform/DriveInfo.h"

namespace platform {
namespace {
std::shared_ptr<DriveInfo>& Override() {
    static std::shared_ptr<DriveInfo> info;
    return info;
}
}  // namespace

DriveInfo& Drive() {
    if (Override()) return *Override();
    static std::shared_ptr<DriveInfo> real = MakePosixDriveInfo();
    return *real;
}

void SetDriveInfoForTesting(std::shared_ptr<DriveInfo> info) { Override() = std::move(info); }

}  // namespace platform
