#include "platform/NewFiles.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<NewFiles>& Slot() {
    static ServiceSlot<NewFiles> slot(&MakeSystemNewFiles);
    return slot;
}
}  // namespace

NewFiles& TheNewFiles() { return Slot().Get(); }
void SetNewFilesForTesting(std::shared_ptr<NewFiles> files) { Slot().Override(std::move(files)); }

}  // namespace platform
