#include "purge/FolderTrail.h"

FolderTrail::FolderTrail(platform::FolderHandle& start, std::string path) : path_(std::move(path)) {
    Level first;
    first.dir = &start;
    first.identity = start.Identity();
    first.pathLength = path_.size();
    levels_.push_back(std::move(first));
}

void FolderTrail::Enter(std::unique_ptr<platform::FolderHandle> sub, const std::string& name) {
    path_ += name;
    path_ += '\\';
    Level level;
    level.dir = sub.get();
    level.identity = sub->Identity();
    level.pathLength = path_.size();
    const bool canReopen = sub->CanOpenParent();
    level.owned = std::move(sub);
    levels_.push_back(std::move(level));

    // The level kOpenLevels above is closed until the walk comes back to it.
    if (canReopen && levels_.size() > kOpenLevels + 1) {
        Level& far = levels_[levels_.size() - 1 - kOpenLevels];
        if (far.owned) {
            far.dir = nullptr;
            far.owned.reset();
        }
    }
}

std::unique_ptr<platform::FolderHandle> FolderTrail::Leave() {
    std::unique_ptr<platform::FolderHandle> left = std::move(levels_.back().owned);
    levels_.pop_back();
    if (levels_.empty()) return left;
    Level& back = levels_.back();
    path_.resize(back.pathLength);
    if (back.dir == nullptr && left) {
        back.owned = left->OpenParent(back.identity);
        back.dir = back.owned.get();
    }
    return left;
}
