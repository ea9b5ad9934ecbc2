#include "platform/EntryChurn.h"

#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<EntryChurn>& Slot() {
    static ServiceSlot<EntryChurn> slot(&MakeSystemEntryChurn);
    return slot;
}

// The system's own new files, whatever fake a test put in for the fill:
// the names pass counts its entries itself.
NewFiles& SystemNewFiles() {
    static const std::shared_ptr<NewFiles> files = MakeSystemNewFiles();
    return *files;
}
}  // namespace

EntryChurn& TheEntryChurn() { return Slot().Get(); }
void SetEntryChurnForTesting(std::shared_ptr<EntryChurn> churn) { Slot().Override(std::move(churn)); }

std::optional<FileIdentity> EntryChurn::MakeEmptyFile(FolderHandle& folder, const std::string& name,
                                                      FileFailure& failure) {
    auto file = SystemNewFiles().Create(folder, name, failure);
    if (!file) return std::nullopt;
    const FileIdentity identity = file->Identity();
    file->Close(failure);
    return identity;
}

bool EntryChurn::DeleteFile(FolderHandle& folder, const std::string& name,
                            const FileIdentity& expected) {
    return SystemNewFiles().DeleteIfStill(folder, name, expected);
}

bool EntryChurn::Sync(FolderHandle& folder, FileFailure& failure) {
    return SystemNewFiles().SyncFileSystem(folder, failure);
}

std::optional<std::uint64_t> EntryChurn::BytesWrittenToLog(FolderHandle&) { return std::nullopt; }

}  // namespace platform
