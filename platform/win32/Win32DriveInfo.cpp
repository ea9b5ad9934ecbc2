// Drives on Windows: each mapped letter is a drive (on a machine of its own,
// every letter is itself); its answers come from the volume that holds the
// drive's root folder.
#include <vector>

#include "platform/DriveInfo.h"
#include "platform/DrivePaths.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

// The mapped root folder of the drive a path starts with, ending in a
// separator as the volume queries want it; "" when the letter is not mapped.
std::wstring RootFolderOf(const std::string& path) {
    const char letter = DriveLetterOf(path);
    if (letter == 0 || !Drives().IsMapped(letter)) return L"";
    std::wstring root = Widened(Drives().Root(letter));
    if (root.back() != L'\\') root += L'\\';
    return root;
}

// The root of the volume that holds the folder ("Z:\" for "Z:\tmp\x\").
std::wstring VolumeRootOf(const std::wstring& folder) {
    std::vector<wchar_t> volume(folder.size() + MAX_PATH);
    if (folder.empty() ||
        !::GetVolumePathNameW(folder.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
        return L"";
    }
    return volume.data();
}

// What holds the volume, as the user can find it again: the volume's own
// name ("\\?\Volume{...}"), else its root. (Not its label: asking for that
// makes some systems read the raw device, and say so on standard error.)
std::string DeviceOf(const std::wstring& volume) {
    wchar_t name[MAX_PATH + 1] = {};
    std::wstring device = volume;
    if (::GetVolumeNameForVolumeMountPointW(volume.c_str(), name, MAX_PATH + 1) && name[0] != 0) {
        device = name;
    }
    if (device.size() > 3 && device.back() == L'\\') device.pop_back();
    return Narrowed(device);
}

int ObjectTypeOf(UINT driveType) {
    switch (driveType) {
        case DRIVE_REMOVABLE:
            return kObjectRemovable;
        case DRIVE_FIXED:
            return kObjectFixed;
        case DRIVE_REMOTE:
            return kObjectNetwork;
        case DRIVE_CDROM:
            return kObjectCdRom;
        case DRIVE_RAMDISK:
            return kObjectRamDisk;
        default:
            return kObjectUnknown;
    }
}

class Win32DriveInfo final : public DriveInfo {
  public:
    std::uint32_t LogicalDriveMask() override {
        std::uint32_t mask = 0;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (Drives().IsMapped(letter)) mask |= 1u << (letter - 'A');
        }
        return mask;
    }

    int DriveType(const std::string& path) override {
        const std::wstring volume = VolumeRootOf(RootFolderOf(path));
        if (volume.empty()) return kDriveNoRootDir;
        return static_cast<int>(::GetDriveTypeW(volume.c_str()));
    }

    std::optional<ClusterGeometry> DiskFreeSpace(const std::string& root) override {
        const std::wstring volume = VolumeRootOf(RootFolderOf(root));
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD clusters = 0;
        if (volume.empty() || !::GetDiskFreeSpaceW(volume.c_str(), &sectorsPerCluster,
                                                   &bytesPerSector, &freeClusters, &clusters)) {
            return std::nullopt;
        }
        return ClusterGeometry{sectorsPerCluster, bytesPerSector};
    }

    std::optional<DiskFreeSpaceEx> DiskFreeSpaceExFor(const std::string& root) override {
        const std::wstring folder = RootFolderOf(root);
        ULARGE_INTEGER available;
        ULARGE_INTEGER total;
        if (folder.empty() || !::GetDiskFreeSpaceExW(folder.c_str(), &available, &total, nullptr)) {
            return std::nullopt;
        }
        return DiskFreeSpaceEx{SplitCount::Of(available.QuadPart), SplitCount::Of(total.QuadPart)};
    }

    int GetDrive(const std::string& driveName, DriveObject& drive) override {
        const char letter = DriveLetterOf(driveName);
        if (letter == 0 || !Drives().IsMapped(letter)) return kErrorDeviceUnavailable;
        const std::wstring folder = RootFolderOf(driveName);
        const std::wstring volume = VolumeRootOf(folder);
        wchar_t fileSystem[MAX_PATH + 1] = {};
        ULARGE_INTEGER available;
        ULARGE_INTEGER total;
        if (volume.empty() ||
            !::GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                                     fileSystem, MAX_PATH + 1) ||
            !::GetDiskFreeSpaceExW(folder.c_str(), &available, &total, nullptr)) {
            return kErrorDiskNotReady;
        }
        drive = DriveObject{
            letter, Narrowed(fileSystem, std::char_traits<wchar_t>::length(fileSystem)),
            double(total.QuadPart), ObjectTypeOf(::GetDriveTypeW(volume.c_str())), true};
        drive.device = DeviceOf(volume);
        return 0;
    }
};

}  // namespace

std::shared_ptr<DriveInfo> MakeSystemDriveInfo() { return std::make_shared<Win32DriveInfo>(); }

}  // namespace platform
