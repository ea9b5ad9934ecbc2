#include "app/PathArgument.h"

#include <cstdlib>
#include <filesystem>

#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/NativePaths.h"

namespace {

bool IsDrivePath(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && platform::DriveLetterOf(path) != 0;
}

// On Windows a path of the system starts with a drive letter too; it is a
// drive path of the program only when the table maps that letter.
bool IsMappedDrivePath(const std::string& path) {
    return IsDrivePath(path) && platform::Drives().IsMapped(platform::DriveLetterOf(path));
}

std::string DriveTableName() {
    const char* spec = std::getenv("KESTRANE_DRIVES");
    return spec ? "the drive table KESTRANE_DRIVES=\"" + std::string(spec) + "\""
                : std::string("the drive table");
}

// The drive path of a path of this system, or "" when no drive holds it.
std::string DrivePathOfNative(const std::string& path, std::string& problem) {
    // On POSIX a backslash is a character of a name; in a drive path it
    // would split that name in two and reach another file.
    if (platform::kNativeSeparator != '\\' && path.find('\\') != std::string::npos) {
        problem = "a name with a backslash cannot be purged by path";
        return "";
    }
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) {
        problem = "cannot be made an absolute path";
        return "";
    }
    const std::string native =
        platform::WithoutTrailingSeparator(absolute.lexically_normal().string());
    auto drivePath = platform::ToDrivePath(native);
    if (!drivePath) {
        problem =
            "lies on no drive of " + DriveTableName() + "; map a drive letter to a folder above it";
        return "";
    }
    return *drivePath;
}

}  // namespace

std::optional<PathArgument> ResolvePathArgument(const std::string& path, std::string& problem) {
    if (IsDrivePath(path) && !IsMappedDrivePath(path) && platform::kNativeSeparator != '\\') {
        problem = std::string("drive ") + platform::DriveLetterOf(path) + ": is not in " +
                  DriveTableName();
        return std::nullopt;
    }
    std::string drivePath = IsMappedDrivePath(path) ? path : DrivePathOfNative(path, problem);
    if (drivePath.empty()) return std::nullopt;
    auto parts = platform::SplitDrivePath(drivePath);
    if (!parts) {
        problem = "lies on no drive of " + DriveTableName();
        return std::nullopt;
    }

    PathArgument argument;
    std::string parent = std::string(1, parts->letter) + ":\\";
    if (parts->names.empty()) {
        argument.drivePath = parent;
        argument.folder = true;
        std::string why;
        if (!platform::Files().OpenFolder(parent, &why)) {
            problem = "the drive's folder cannot be opened (" + why + ")";
            return std::nullopt;
        }
        return argument;
    }
    for (std::size_t i = 0; i + 1 < parts->names.size(); ++i) parent += parts->names[i] + "\\";
    const std::string& name = parts->names.back();
    std::string why;
    auto folder = platform::Files().OpenFolder(parent, &why);
    if (!folder) {
        problem = "cannot be reached without following a link or entering what is not a folder (" +
                  why + ")";
        return std::nullopt;
    }
    auto entry = folder->Look(name);
    if (!entry) {
        problem = "no such file or folder";
        return std::nullopt;
    }
    switch (entry->kind) {
        case platform::EntryKind::SymbolicLink:
            problem = "is a symbolic link; purge never follows links";
            return std::nullopt;
        case platform::EntryKind::Other:
            problem = "is no file or folder but a FIFO, a device or a socket";
            return std::nullopt;
        case platform::EntryKind::Folder:
            argument.folder = true;
            break;
        case platform::EntryKind::File:
            break;
    }
    argument.drivePath = parent + name;
    return argument;
}
