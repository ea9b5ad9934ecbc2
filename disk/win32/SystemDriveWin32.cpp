// Windows side of SystemDrive.h: a drive is refused when its folder is, or
// lies above, the Windows folder or the program's folder. Each folder's
// final path (links and substituted drives resolved) is walked up one name
// at a time and every folder on the way compared with the drive's folder
// by identity.
#include <set>
#include <vector>

#include "disk/DiskProc.h"
#include "disk/SystemDrive.h"
#include "platform/DrivePaths.h"
#include "platform/NativePaths.h"
#include "platform/ProgramFolder.h"
#include "platform/win32/Win32Entries.h"

namespace {

using platform::OwnedHandle;

std::optional<platform::FileIdentity> IdentityOf(const std::string& folder) {
    OwnedHandle handle;
    if (platform::OpenFolderByPath(folder, false, handle) != 0) return std::nullopt;
    auto entry = platform::EntryOfHandle(handle.Get(), "");
    if (!entry) return std::nullopt;
    return entry->identity;
}

// The folder's path with every link on the way resolved; "" when it cannot
// be opened.
std::string FinalPathOf(const std::string& folder) {
    OwnedHandle handle;
    if (platform::OpenFolderByPath(folder, false, handle) != 0) return "";
    std::vector<wchar_t> path(32768);
    const DWORD length = ::GetFinalPathNameByHandleW(handle.Get(), path.data(),
                                                     static_cast<DWORD>(path.size()),
                                                     VOLUME_NAME_DOS);
    if (length == 0 || length >= path.size()) return "";
    std::string final = platform::Narrowed(path.data(), length);
    if (final.rfind("\\\\?\\", 0) == 0 && final.size() > 6 && final[5] == ':') final.erase(0, 4);
    return final;
}

// True when `folder` is the drive's folder or lies somewhere below it.
bool LiesWithin(const std::string& folder, const platform::FileIdentity& drive) {
    std::string current = FinalPathOf(folder);
    for (int depth = 0; depth < 4096 && !current.empty(); ++depth) {
        auto here = IdentityOf(current);
        if (here && here->SameObjectAs(drive)) return true;
        current = platform::NativeParent(current);
    }
    return false;
}

std::string WindowsFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) return "";
    return platform::Narrowed(folder, length);
}

}  // namespace

std::string SystemFolderOnDrive(const std::string& drive) {
    auto native = platform::ToNativePath(drive.substr(0, 2) + "\\");
    if (!native) return "";
    auto root = IdentityOf(*native);
    if (!root) return "";
    for (const std::string& folder : {WindowsFolder(), platform::ProgramFolderNative(),
                                      platform::RealProgramFolderNative()}) {
        if (!folder.empty() && LiesWithin(folder, *root)) return folder;
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
