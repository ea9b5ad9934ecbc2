#include "platform/FolderHandle.h"

namespace platform {

std::unique_ptr<FolderHandle> FolderHandle::KeptIfStill(std::unique_ptr<FolderHandle> sub,
                                                        const FileIdentity& expected,
                                                        std::string* why) const {
    if (!sub) return nullptr;
    if (!sub->Identity().SameMountAs(identity_)) {
        SetWhy(why, "it is on another file system");
        return nullptr;
    }
    if (!(sub->Identity() == expected)) {
        SetWhy(why, "it was replaced while the run went on");
        return nullptr;
    }
    return sub;
}

std::unique_ptr<FolderHandle> FolderHandle::OpenParent(const FileIdentity& /*expected*/,
                                                       std::string* why) {
    SetWhy(why, "a folder cannot be opened from its subfolder here");
    return nullptr;
}

}  // namespace platform
