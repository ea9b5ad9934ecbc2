// Reserved space on Windows. NTFS, FAT and exFAT keep nothing back from a
// writer that a program could lower for the time of a fill (the space NTFS
// keeps for its master file table is given out once the rest is used up),
// so there is never a reserve to describe; the free space still counted
// after a fill is read from the volume.
#include "platform/ReservedSpace.h"
#include "platform/win32/Win32FolderHandle.h"

#include <vector>

namespace platform {
namespace {

class Win32ReservedSpace final : public ReservedSpace {
  public:
    std::optional<std::string> Describe(FolderHandle&) override { return std::nullopt; }
    std::uint64_t Lower(const std::string&) override { return 0; }
    bool Restore(const std::string&) override { return true; }

    std::uint64_t FreeBytesOfAnyKind(FolderHandle& folder) override {
        std::vector<wchar_t> path(32768);
        const DWORD length =
            ::GetFinalPathNameByHandleW(Win32HandleOf(folder), path.data(),
                                        static_cast<DWORD>(path.size() - 1), VOLUME_NAME_DOS);
        if (length == 0 || length >= path.size() - 1) return 0;
        if (path[length - 1] != L'\\') path[length] = L'\\';
        ULARGE_INTEGER available;
        ULARGE_INTEGER total;
        ULARGE_INTEGER free;
        if (!::GetDiskFreeSpaceExW(path.data(), &available, &total, &free)) return 0;
        return free.QuadPart;
    }
};

}  // namespace

std::shared_ptr<ReservedSpace> MakeSystemReservedSpace() {
    return std::make_shared<Win32ReservedSpace>();
}

}  // namespace platform
