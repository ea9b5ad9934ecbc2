#include "disk/WipeHardLinks.h"

#include "purge/WalkRules.h"

namespace {

std::pair<std::uint64_t, std::uint64_t> Key(const platform::FileIdentity& file) {
    return {file.device, file.inode};
}

std::unique_ptr<HardLinkCensus>& Current() {
    static std::unique_ptr<HardLinkCensus> census;
    return census;
}

}  // namespace

void HardLinkCensus::CountTree(platform::FolderHandle& root,
                               const std::vector<platform::FileIdentity>& excluded,
                               bool (*takeAtRoot)(const std::string& name)) {
    excluded_ = excluded;
    takeAtRoot_ = takeAtRoot;
    // The names of the folders are not needed here, only their handles.
    FolderTrail trail(root, std::string());
    bool justEntered = true;
    while (!trail.Empty()) {
        const bool goOn = justEntered ? CountFolder(trail.Current(), trail.Depth() == 1)
                                      : trail.Current().dir != nullptr;
        justEntered = goOn && EnterNextSubfolderTheRunEnters(trail);
        if (!justEntered) trail.Leave();
    }
}

bool HardLinkCensus::CountFolder(FolderTrail::Level& level, bool atRoot) {
    platform::FolderHandle& folder = *level.dir;
    for (const auto& excluded : excluded_) {
        if (excluded.SameObjectAs(folder.Identity())) return false;
    }
    auto entries = folder.Read();
    if (!entries) return false;
    level.entries = std::move(*entries);
    for (const auto& entry : level.entries) {
        if (entry.kind == platform::EntryKind::Folder) continue;
        if (entry.links < 2 || (atRoot && takeAtRoot_ && !takeAtRoot_(entry.name))) continue;
        // Only the files the run itself would take count as met.
        auto reason = WhyFileIsLeft(entry, folder.Identity());
        if (reason && *reason != kOtherHardLinks) continue;
        ++namesInWipe_[Key(entry.identity)];
    }
    return true;
}

HardLinkCensus::Step HardLinkCensus::StepFor(const platform::FileIdentity& file,
                                             std::uint32_t links) const {
    auto it = namesInWipe_.find(Key(file));
    // A name the census did not meet, or one added or removed since: the
    // file may have a name outside the wipe.
    if (it == namesInWipe_.end() || it->second != links) return Step::KeepWhole;
    return links > 1 ? Step::RemoveThisName : Step::PurgeLastName;
}

void HardLinkCensus::NameRemoved(const platform::FileIdentity& file) {
    auto it = namesInWipe_.find(Key(file));
    if (it != namesInWipe_.end() && it->second > 0) --it->second;
}

HardLinkCensus* WipeLinkCensus() { return Current().get(); }
void SetWipeLinkCensus(std::unique_ptr<HardLinkCensus> census) { Current() = std::move(census); }
