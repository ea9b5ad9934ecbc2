// Windows side of SystemDrive.h: a drive is refused when its folder is, or
// lies above, the Windows folder or the program's folder, when it lies
// below one of them, or when it lies on the same volume (told by its serial
// number). Final paths (links and substituted drives resolved) are walked
// up one name at a time and every folder on the way compared by identity.
#include <set>
#include <vector>

#include "disk/DiskProc.h"
#include "disk/SystemDrive.h"
#include "platform/DrivePaths.h"
#include "platform/NativePaths.h"
#include "platform/ProgramFolder.h"
#include "platform/win32/Win32Entries.h"
#include "platform/win32/Win32FolderHandle.h"

namespace {

using platform::OwnedHandle;

std::optional<std::vector<std::string>>& FoldersForTesting() {
    static std::optional<std::vector<std::string>> folders;
    return folders;
}

std::optional<platform::FileIdentity> IdentityOf(const std::string& folder) {
    OwnedHandle handle;
    if (platform::OpenFolderByPath(folder, false, handle) != 0) return std::nullopt;
    auto entry = platform::EntryOfHandle(handle.Get(), "");
    if (!entry) return std::nullopt;
    return entry->identity;
}

// The path of an open folder with every link on the way resolved; "" when
// the system cannot tell.
std::string FinalPathOfHandle(HANDLE handle) {
    std::vector<wchar_t> path(32768);
    const DWORD length = ::GetFinalPathNameByHandleW(
        handle, path.data(), static_cast<DWORD>(path.size()), VOLUME_NAME_DOS);
    if (length == 0 || length >= path.size()) return "";
    std::string final = platform::Narrowed(path.data(), length);
    if (final.rfind("\\\\?\\", 0) == 0 && final.size() > 6 && final[5] == ':') final.erase(0, 4);
    return final;
}

std::string FinalPathOf(const std::string& folder) {
    OwnedHandle handle;
    if (platform::OpenFolderByPath(folder, false, handle) != 0) return "";
    return FinalPathOfHandle(handle.Get());
}

// True when `target` is the folder at `path` or any folder above it.
bool IsOrLiesAbove(std::string path, const platform::FileIdentity& target) {
    for (int depth = 0; depth < 4096 && !path.empty(); ++depth) {
        auto here = IdentityOf(path);
        if (here && here->SameObjectAs(target)) return true;
        path = platform::NativeParent(path);
    }
    return false;
}

std::string WindowsFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return "";
    return platform::Narrowed(folder, length);
}

struct Candidate {
    std::string path;
    bool fileSystemCounts;  // a drive anywhere on its file system is refused
};

std::vector<Candidate> SystemFolders() {
    const std::vector<std::string> system = FoldersForTesting().value_or(
        std::vector<std::string>{WindowsFolder(), platform::RealProgramFolderNative()});
    std::vector<Candidate> folders;
    for (const std::string& path : system) folders.push_back({path, true});
    // A test's program folder lies on the same disk as its drives.
    folders.push_back({platform::ProgramFolderNative(), !FoldersForTesting()});
    return folders;
}

}  // namespace

void SetSystemFoldersForTesting(std::optional<std::vector<std::string>> folders) {
    FoldersForTesting() = std::move(folders);
}

std::string WhyDriveIsTheSystems(const platform::FolderHandle& root) {
    const platform::FileIdentity& drive = root.Identity();
    struct Known {
        std::string path;
        platform::FileIdentity identity;
        bool fileSystemCounts;
    };
    std::vector<Known> known;
    for (const Candidate& candidate : SystemFolders()) {
        if (candidate.path.empty()) continue;
        const std::string final = FinalPathOf(candidate.path);
        auto identity = IdentityOf(candidate.path);
        if (final.empty() || !identity) continue;
        if (IsOrLiesAbove(final, drive)) return "holds " + candidate.path;
        known.push_back({candidate.path, *identity, candidate.fileSystemCounts});
    }
    const std::string drivePath = FinalPathOfHandle(platform::Win32HandleOf(root));
    for (const auto& folder : known) {
        if (!drivePath.empty() && IsOrLiesAbove(drivePath, folder.identity)) {
            return "lies within " + folder.path;
        }
    }
    const std::string windows = FoldersForTesting() ? "" : WindowsFolder();
    for (const auto& folder : known) {
        if (folder.fileSystemCounts && folder.identity.device == drive.device) {
            return "lies on the file system of " +
                   (folder.path == windows ? std::string("the running system") : folder.path);
        }
    }
    return "";
}

bool OverwritesMissOldCopies(const std::string& drive) {
    // ReFS writes changed data to new clusters where integrity streams are
    // on; NTFS, FAT and exFAT overwrite in place.
    platform::DriveObject object;
    if (OpenDriveObject(drive.substr(0, 2) + "\\", object) != 0) return false;
    return object.fileSystem == "ReFS";
}
