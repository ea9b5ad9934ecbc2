#include "platform/FileSystem.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<FileSystem>& Slot() {
    static ServiceSlot<FileSystem> slot([] { return MakePosixFileSystem(); });
    return slot;
}
}  // namespace

FileSystem& Files() { return Slot().Get(); }

void SetFileSystemForTesting(std::shared_ptr<FileSystem> fs) { Slot().Override(std::move(fs)); }

}  // namespace platform
