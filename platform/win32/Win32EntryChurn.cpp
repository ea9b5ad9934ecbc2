// The names pass's service on Windows: folders are made with FILE_CREATE
// relative to the open parent, never through a reparse point. NTFS sets no
// fixed number of entries (its file table grows) and its log's size is not
// asked here: the default of a volume's log is assumed.
#include "platform/EntryChurn.h"
#include "platform/win32/NtOpenOptions.h"
#include "platform/win32/Win32Entries.h"
#include "platform/win32/Win32FolderHandle.h"

namespace platform {
namespace {

constexpr std::uint64_t kAssumedLogBytes = 64ull << 20;

class Win32EntryChurn final : public EntryChurn {
  public:
    std::unique_ptr<FolderHandle> MakeFolder(FolderHandle& parent, const std::string& name,
                                             FileFailure& failure) override {
        OwnedHandle made;
        const DWORD error = OpenRelative(Win32HandleOf(parent), name, kFolderAccess, FILE_CREATE,
                                         FILE_DIRECTORY_FILE, made);
        if (error != 0) {
            failure.diskFull = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
            failure.nameTaken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
            failure.why = Win32ErrorText(error);
            return nullptr;
        }
        std::string why;
        auto folder = Win32FolderHandle::Adopt(std::move(made), &why);
        if (!folder) failure.why = why;
        return folder;
    }
    std::uint64_t LogBytes(FolderHandle&) override { return kAssumedLogBytes; }
    std::optional<std::uint64_t> BytesWrittenToDisk(FolderHandle&) override { return std::nullopt; }
    std::optional<std::uint64_t> FreeEntries(FolderHandle&) override { return std::nullopt; }
};

}  // namespace

std::shared_ptr<EntryChurn> MakeSystemEntryChurn() { return std::make_shared<Win32EntryChurn>(); }

}  // namespace platform
