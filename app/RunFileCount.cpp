#include "app/RunFileCount.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "purge/FolderTrail.h"
#include "purge/PurgeRun.h"
#include "purge/StrProc.h"
#include "purge/WalkRules.h"

namespace {

// The files of one folder that the run takes, as the run chooses them.
std::int64_t FilesOf(const PurgeRun& run, const FolderTrail::Level& level, bool atStart,
                     std::vector<platform::FileIdentity>& manyNamed) {
    const platform::FolderHandle& folder = *level.dir;
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

}  // namespace

std::int64_t CountFilesOfRun(const PurgeRun& run, const std::string& startFolder) {
    std::shared_ptr<platform::FolderHandle> start = run.heldFolder;
    if (!start) {
        std::string path = NormalizePathCase(startFolder);
        if (path.empty() || path.back() != '\\') path += '\\';
        start = platform::Files().OpenFolder(path);
    }
    if (!start) return 0;
    std::vector<platform::FileIdentity> manyNamed;
    std::int64_t files = 0;
    FolderTrail trail(*start, std::string());
    bool justEntered = true;
    while (!trail.Empty()) {
        FolderTrail::Level& level = trail.Current();
        // A level come back to that could not be opened again is done with.
        bool goOn = level.dir != nullptr;
        if (justEntered) {
            goOn = !run.KeepsFolder(level.dir->Identity());
            if (goOn) {
                level.entries = level.dir->Read().value_or(std::vector<platform::FolderEntry>{});
                files += FilesOf(run, level, trail.Depth() == 1, manyNamed);
            }
        }
        justEntered = goOn && run.blnSubdirectories && EnterNextSubfolderTheRunEnters(trail);
        if (!justEntered) trail.Leave();
    }
    return files;
}
