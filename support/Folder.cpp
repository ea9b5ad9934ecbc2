#include "support/Folder.h"

#include <limits>
#include <optional>
#include <vector>

#include "disk/DiskProc.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "purge/StrProc.h"
#include "ui/Ui.h"

namespace {

// base + "\" + name, without doubling the separator of a root ("C:\").
std::string Joined(const std::string& base, const std::string& name) {
    if (!base.empty() && base.back() == '\\') return base + name;
    return base + "\\" + name;
}

// Why a folder cannot be read, in the words the user sees for it.
std::string ReadFailure(const std::string& path) {
    auto kind = platform::Files().KindOf(path);
    if (kind == platform::EntryKind::Folder) return "Permission denied";
    return "Path not found";
}

}  // namespace

std::string BrowseForFolder(const std::string& title) {
    auto chosen = ui::TheUi().BrowseForFolder(title);
    if (!chosen) return "";
    // The characters before the first zero character, as a buffer would
    // hold them.
    return chosen->substr(0, chosen->find('\0'));
}

std::string SpecialFolderPath(std::int32_t kind) {
    if (kind != kFolderApplicationData) return "";
    auto native = platform::TheShell().ApplicationDataFolder();
    if (!native) return "";
    return platform::ToDrivePath(*native).value_or("");
}

std::string UserDataFilePath(const std::string& fileName, const std::string& folderName) {
    std::string base = SpecialFolderPath(kFolderApplicationData);
    if (base.empty()) base = FirstFixedDrive();
    // A fresh account may lack the application-data folder itself.
    else if (!FolderExists(base))
        platform::Files().CreateFolder(base);
    std::string folder = Joined(base, folderName);
    if (!FolderExists(folder)) platform::Files().CreateFolder(folder);
    return Joined(folder, fileName);
}

bool FolderExists(const std::string& path) { return platform::Files().FolderExists(path); }

std::int32_t NumSubfolders(const std::string& path) {
    auto entries = platform::Files().ReadFolder(path);
    if (!entries) return -1;
    std::int64_t count = 0;
    for (const auto& entry : *entries) {
        if (entry.kind == platform::EntryKind::Folder) ++count;
    }
    return count > std::numeric_limits<std::int32_t>::max() ? -1 : static_cast<std::int32_t>(count);
}

std::int32_t NumMatchingFiles(const std::string& folder, const std::string& fileSpec) {
    auto entries = platform::Files().ReadFolder(folder);
    std::string failure;
    std::int64_t count = 0;
    if (!entries) {
        failure = ReadFailure(folder);
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
