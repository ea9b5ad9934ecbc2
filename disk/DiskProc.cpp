// Drive existence, readiness, space and the sentences about them.
#include "disk/DiskProc.h"

#include <filesystem>
#include <system_error>

#include "platform/DrivePaths.h"
#include "purge/NumberFormat.h"
#include "purge/UnicodeText.h"

std::string strDiskFileSystem;
double dblDiskTotalBytes = 0;

namespace {

constexpr double kMegabyte = 1048576.0;
constexpr double kGigabyte = 1073741824.0;

// A count delivered as two signed 32-bit halves; the low half is unsigned.
double Combine(platform::SplitCount count) {
    double low = count.low < 0 ? count.low + 4294967296.0 : count.low;
    return count.high * 4294967296.0 + low;
}

// "C:" for a path on drive C; the drive of the current folder for a
// relative path; "" when there is none.
std::string DriveNameOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') {
        char letter = platform::DriveLetterOf(path);
        return letter ? std::string(1, letter) + ":" : "";
    }
    std::error_code ec;
    auto current = std::filesystem::current_path(ec);
    if (ec) return "";
    auto drivePath = platform::ToDrivePath(current.string());
    return drivePath ? drivePath->substr(0, 2) : "";
}

}  // namespace

std::string DriveFreeSpaceText(const std::string& drive, double bytes) {
    std::string s = "Drive " + drive + " has " + FormatNumber(bytes, 0) + " bytes ";
    if (bytes >= kMegabyte) s += "(" + FormatNumber(bytes / kMegabyte, 3) + " MB) ";
    return s + "free.";
}

std::string DiskCapacityText(const std::string& drive, double bytes) {
    std::string s =
        "The capacity of the disk in Drive " + drive + " is " + FormatNumber(bytes, 0) + " bytes ";
    if (bytes >= 1e9) s += "(" + FormatNumber(bytes / kGigabyte, 3) + " GB) ";
    return s + ".";
}

std::int32_t OpenDriveObject(const std::string& path, platform::DriveObject& drive) {
    std::string name = DriveNameOf(path);
    if (name.empty()) return platform::kErrorDeviceUnavailable;
    return platform::Drive().GetDrive(name, drive);
}

bool DriveExists(const std::string& drive) {
    char letter = platform::DriveLetterOf(drive);
    if (letter == 0) return false;
    return (platform::Drive().LogicalDriveMask() >> (letter - 'A')) & 1u;
}

std::int32_t GetDiskSpace(const std::string& drive, double& freeBytes, double& totalBytes) {
    std::u32string chars = DecodeUtf8(drive);
    std::string root = LowerCase(EncodeUtf8(chars.substr(0, 2)));
    auto space = platform::Drive().DiskFreeSpaceExFor(root);
    if (!space) return -1;
    freeBytes = Combine(space->freeBytesAvailable);
    totalBytes = Combine(space->totalBytes);
    return 0;
}

std::string FirstFixedDrive() {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::string name = std::string(1, letter) + ":";
        platform::DriveObject drive;
        if (platform::Drive().GetDrive(name, drive) == 0 &&
            drive.driveType == platform::kObjectFixed) {
            return name;
        }
    }
    return "";
}

bool DriveIsReady(const std::string& path) {
    int type = platform::Drive().DriveType(path);
    if (type == platform::kDriveFixed || type == platform::kDriveRamDisk) return true;
    double freeBytes = 0;
    double totalBytes = 0;
    return GetDiskSpace(path, freeBytes, totalBytes) == 0;
}
