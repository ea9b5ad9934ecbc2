#include "support/Folder.h"

#include <limits>
#include <optional>
#include <vector>

#include "disk/DiskProc.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/NativePaths.h"
#include "platform/Shell.h"
#include "purge/StrProc.h"
#include "support/NativeFiles.h"
#include "ui/Ui.h"

namespace {

// The folder's entries, or the file system's own words for why not.
std::optional<std::vector<platform::FolderEntry>> ReadEntries(const std::string& path,
                                                              std::string& why) {
    auto folder = platform::Files().OpenFolder(path, &why);
    if (!folder) return std::nullopt;
    return folder->Read(&why);
}

}  // namespace

std::string BrowseForFolder(const std::string& title, const std::string& startFolder) {
    auto chosen = ui::TheUi().BrowseForFolder(title, startFolder);
    if (!chosen) return "";
    // The characters before the first zero character, as a buffer would
    // hold them.
    return chosen->substr(0, chosen->find('\0'));
}

std::string SpecialFolderPath(std::int32_t kind) {
    if (kind != kFolderApplicationData) return "";
    return platform::TheShell().ApplicationDataFolder().value_or("");
}

std::string UserDataFolderPath(const std::string& folderName) {
    std::string base = SpecialFolderPath(kFolderApplicationData);
    if (base.empty()) {
        // No per-user folder at all: the root of the first fixed drive.
        base = platform::ToNativePath(FirstFixedDrive() + "\\").value_or("");
        if (base.empty()) return "";
    }
    return folderName.empty() ? base : platform::JoinNative(base, folderName);
}

std::string UserDataFilePath(const std::string& fileName, const std::string& folderName) {
    const std::string folder = UserDataFolderPath(folderName);
    if (folder.empty()) return "";
    // A fresh account may lack the configuration folder itself.
    native_files::CreateFolder(platform::NativeParent(folder));
    native_files::CreateFolder(folder);
    return platform::JoinNative(folder, fileName);
}

bool FolderExists(const std::string& path) { return platform::Files().FolderExists(path); }

std::int32_t NumSubfolders(const std::string& path) {
    std::string why;
    auto entries = ReadEntries(path, why);
    if (!entries) return -1;
    std::int64_t count = 0;
    for (const auto& entry : *entries) {
        if (entry.kind == platform::EntryKind::Folder) ++count;
    }
    return count > std::numeric_limits<std::int32_t>::max() ? -1 : static_cast<std::int32_t>(count);
}

std::int32_t NumMatchingFiles(const std::string& folder, const std::string& fileSpec) {
    std::string failure;
    auto entries = ReadEntries(folder, failure);
    std::int64_t count = 0;
    if (!entries) {
        if (failure.empty()) failure = "Path not found";
    } else {
        for (const auto& entry : *entries) {
            if (entry.kind == platform::EntryKind::File &&
                NameMatchesSpec(entry.name, fileSpec, false)) {
                ++count;
            }
        }
        if (count > std::numeric_limits<std::int32_t>::max()) failure = "Overflow";
    }
    if (!failure.empty()) {
        ui::TheUi().MsgBox(failure, ui::Buttons::OK, ui::Icon::Information, "Error");
        return -1;
    }
    return static_cast<std::int32_t>(count);
}
