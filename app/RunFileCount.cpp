#include "app/RunFileCount.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "purge/PurgeRun.h"
#include "purge/StrProc.h"
#include "purge/WalkRules.h"

namespace {

struct Level {
    std::shared_ptr<platform::FolderHandle> folder;
    std::vector<platform::FolderEntry> entries;
    std::size_t next = 0;
};

bool IsExcluded(const PurgeRun& run, const platform::FolderHandle& folder) {
    if (!run.blnWipeDisk) return false;
    return std::any_of(
        run.excludedFolders.begin(), run.excludedFolders.end(),
        [&](const platform::FileIdentity& kept) { return kept.SameObjectAs(folder.Identity()); });
}

// The files of one folder that the run takes, as the run chooses them.
std::int64_t FilesOf(const PurgeRun& run, const Level& level, bool atStart,
                     std::vector<platform::FileIdentity>& manyNamed) {
    const platform::FolderHandle& folder = *level.folder;
    // A wipe purges its subfolders whole; at the drive's top it may keep
    // everything but the files its own fill wrote.
    std::string spec = atStart || !run.blnWipeDisk ? run.strCurrentFileSpec : "*.*";
    const bool onlyFillFiles = run.blnWipeDisk && run.blnKeepTopFiles && atStart;
    if (onlyFillFiles) spec = "dummy*";
    std::int64_t files = 0;
    for (const auto& entry : level.entries) {
        if (entry.kind == platform::EntryKind::Folder) continue;
        if (!NameMatchesSpec(entry.name, spec, false)) continue;
        if (onlyFillFiles && !(run.fillWrote && run.fillWrote(entry.identity))) continue;
        auto why = WhyFileIsLeft(entry, folder.Identity());
        if (!why) {
            ++files;
        } else if (run.blnWipeDisk && *why == kOtherHardLinks) {
            // A wipe purges a file of several names once, under its last.
            const bool seen = std::any_of(
                manyNamed.begin(), manyNamed.end(),
                [&](const platform::FileIdentity& id) { return id.SameObjectAs(entry.identity); });
            if (!seen) {
                manyNamed.push_back(entry.identity);
                ++files;
            }
        }
    }
    // A name without wildcards stands for one file.
    if (!HasWildcards(spec)) files = std::min<std::int64_t>(files, 1);
    return files;
}

Level Opened(std::shared_ptr<platform::FolderHandle> folder) {
    Level level{std::move(folder), {}, 0};
    level.entries = level.folder->Read().value_or(std::vector<platform::FolderEntry>{});
    return level;
}

}  // namespace

std::int64_t CountFilesOfRun(const PurgeRun& run, const std::string& startFolder) {
    std::shared_ptr<platform::FolderHandle> start = run.heldFolder;
    if (!start) {
        std::string path = NormalizePathCase(startFolder);
        if (path.empty() || path.back() != '\\') path += '\\';
        start = platform::Files().OpenFolder(path);
    }
    if (!start || IsExcluded(run, *start)) return 0;
    std::vector<platform::FileIdentity> manyNamed;
    std::vector<Level> trail;
    trail.push_back(Opened(std::move(start)));
    std::int64_t files = FilesOf(run, trail.back(), true, manyNamed);
    // Its own stack, so that no depth of tree can end the count.
    while (run.blnSubdirectories && !trail.empty()) {
        Level& level = trail.back();
        if (level.next == level.entries.size()) {
            trail.pop_back();
            continue;
        }
        const platform::FolderEntry& entry = level.entries[level.next++];
        if (entry.kind != platform::EntryKind::Folder) continue;
        if (WhySubfolderIsLeft(entry, level.folder->Identity())) continue;
        std::shared_ptr<platform::FolderHandle> inner =
            level.folder->OpenSubfolder(entry.name, entry.identity);
        if (!inner || IsExcluded(run, *inner)) continue;
        trail.push_back(Opened(std::move(inner)));
        files += FilesOf(run, trail.back(), false, manyNamed);
    }
    return files;
}
