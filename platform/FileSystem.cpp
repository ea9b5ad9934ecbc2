#include "platform/FileSystem.h"

#include "platform/DrivePaths.h"
#include "platform/ServiceSlot.h"

namespace platform {
namespace {
ServiceSlot<FileSystem>& Slot() {
    static ServiceSlot<FileSystem> slot(&MakeSystemFileSystem);
    return slot;
}
}  // namespace

FileSystem& Files() { return Slot().Get(); }

void SetFileSystemForTesting(std::shared_ptr<FileSystem> fs) { Slot().Override(std::move(fs)); }

std::optional<FileSystem::Parent> FileSystem::OpenParent(const std::string& path) {
    auto parts = SplitDrivePath(path);
    if (!parts || parts->names.empty()) return std::nullopt;
    std::string folderPath = std::string(1, parts->letter) + ":\\";
    for (std::size_t i = 0; i + 1 < parts->names.size(); ++i) folderPath += parts->names[i] + "\\";
    auto folder = OpenFolder(folderPath);
    if (!folder) return std::nullopt;
    return Parent{std::move(folder), parts->names.back()};
}

std::optional<std::vector<FolderEntry>> FileSystem::ReadFolder(const std::string& path) {
    auto folder = OpenFolder(path);
    if (!folder) return std::nullopt;
    return folder->Read();
}

std::optional<FolderEntry> FileSystem::Look(const std::string& path) {
    if (auto parent = OpenParent(path)) return parent->folder->Look(parent->name);
    // A drive's root has no parent to look from: it is the folder itself.
    auto parts = SplitDrivePath(path);
    if (!parts || !parts->names.empty()) return std::nullopt;
    auto root = OpenFolder(path);
    if (!root) return std::nullopt;
    FolderEntry entry;
    entry.kind = EntryKind::Folder;
    entry.identity = root->Identity();
    return entry;
}

std::optional<EntryKind> FileSystem::KindOf(const std::string& path) {
    auto entry = Look(path);
    if (!entry) return std::nullopt;
    return entry->kind;
}

std::optional<std::uint64_t> FileSystem::FileLength(const std::string& path) {
    auto entry = Look(path);
    if (!entry || entry->kind != EntryKind::File) return std::nullopt;
    return entry->size;
}

std::optional<FileAttributes> FileSystem::Attributes(const std::string& path) {
    auto entry = Look(path);
    if (!entry) return std::nullopt;
    FileAttributes attributes;
    attributes.readOnly = entry->readOnly;
    attributes.folder = entry->kind == EntryKind::Folder;
    attributes.hidden = !entry->name.empty() && entry->name[0] == '.';
    return attributes;
}

bool FileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    auto parent = OpenParent(path);
    if (!parent) return false;
    auto entry = parent->folder->Look(parent->name);
    return entry && parent->folder->SetReadOnly(parent->name, entry->identity, readOnly);
}

bool FileSystem::RemoveFolder(const std::string& path) {
    auto parent = OpenParent(path);
    if (!parent) return false;
    auto entry = parent->folder->Look(parent->name);
    return entry && parent->folder->RemoveSubfolder(parent->name, entry->identity);
}

}  // namespace platform
