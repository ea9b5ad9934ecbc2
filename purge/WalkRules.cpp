#include "purge/WalkRules.h"

#include "purge/FolderTrail.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"

namespace {

// No drive path can hold such a name: the backslash would split it.
bool HasBackslash(const std::string& name) { return name.find('\\') != std::string::npos; }

}  // namespace

const char* const kOtherHardLinks = "a file with other hard links";

std::optional<std::string> WhyFileIsLeft(const platform::FolderEntry& entry,
                                         const platform::FileIdentity& folder) {
    if (HasBackslash(entry.name)) return "a name with a backslash, which no drive path can hold";
    switch (entry.kind) {
        case platform::EntryKind::SymbolicLink:
            return "a symbolic link";
        case platform::EntryKind::Other:
        case platform::EntryKind::Folder:
            return "not a regular file";
        case platform::EntryKind::File:
            break;
    }
    if (!entry.identity.SameMountAs(folder)) return "on another file system";
    if (entry.links > 1) return std::string(kOtherHardLinks);
    return std::nullopt;
}

std::optional<std::string> WhySubfolderIsLeft(const platform::FolderEntry& entry,
                                              const platform::FileIdentity& folder) {
    if (HasBackslash(entry.name)) {
        return "has a backslash in its name, which no drive path can hold";
    }
    if (!entry.identity.SameMountAs(folder)) return "is on another file system";
    return std::nullopt;
}

std::string ShownName(const std::string& name, const platform::FolderHandle& folder) {
    std::string shown = VisibleText(name);
    return folder.TellsNamesApartByCase() ? shown : LowerCase(shown);
}

bool EnterNextSubfolderTheRunEnters(FolderTrail& trail) {
    FolderTrail::Level& level = trail.Current();
    while (level.next < level.entries.size()) {
        const platform::FolderEntry& entry = level.entries[level.next++];
        if (entry.kind != platform::EntryKind::Folder) continue;
        if (WhySubfolderIsLeft(entry, level.dir->Identity())) continue;
        if (auto sub = level.dir->OpenSubfolder(entry.name, entry.identity)) {
            trail.Enter(std::move(sub), entry.name);
            return true;
        }
    }
    return false;
}
