#include "disk/FolderOnDrive.h"

#include <memory>

#include "platform/DrivePaths.h"

std::optional<FolderOnDrive> FindFolderOnDrive(platform::FolderHandle& root,
                                               const std::string& drivePath, std::string* why) {
    auto parts = platform::SplitDrivePath(drivePath);
    if (!parts) {
        platform::SetWhy(why, "Path not found");
        return std::nullopt;
    }
    FolderOnDrive found;
    found.identity = root.Identity();
    platform::FolderHandle* here = &root;
    std::unique_ptr<platform::FolderHandle> opened;
    for (std::size_t i = 0; i < parts->names.size(); ++i) {
        const std::string& name = parts->names[i];
        auto entry = here->Look(name);
        if (!entry || entry->kind != platform::EntryKind::Folder) {
            platform::SetWhy(why, "Path not found");
            return std::nullopt;
        }
        found.above.push_back(found.identity);
        found.identity = entry->identity;
        // The last folder is only looked at: it may be a mount point, which
        // the run never enters either.
        if (i + 1 == parts->names.size()) break;
        auto next = here->OpenSubfolder(name, entry->identity, why);
        if (!next) return std::nullopt;
        opened = std::move(next);
        here = opened.get();
    }
    return found;
}
