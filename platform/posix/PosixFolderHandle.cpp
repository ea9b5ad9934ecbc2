#include "platform/posix/PosixFolderHandle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

constexpr unsigned kWantedFacts =
    STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_NLINK | STATX_MNT_ID;

EntryKind KindOfMode(unsigned mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISLNK(mode)) return EntryKind::SymbolicLink;
    return EntryKind::Other;
}

// Opens `name` without following a link and without any effect an open can
// have on a device (O_PATH), and checks that it is still `expected`.
int OpenPathIfStill(int folder, const std::string& name, const FileIdentity& expected) {
    int fd = ::openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    auto now = EntryAt(fd, "");
    if (!now || !(now->identity == expected)) {
        ::close(fd);
        errno = ESTALE;
        return -1;
    }
    return fd;
}

}  // namespace

std::string SystemErrorText(int error) { return std::strerror(error); }

bool IsSingleName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::optional<FolderEntry> EntryAt(int folder, const std::string& name) {
    struct statx facts {};
    int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | (name.empty() ? AT_EMPTY_PATH : 0);
    if (::statx(folder, name.c_str(), flags, kWantedFacts, &facts) != 0) return std::nullopt;
    FolderEntry entry;
    entry.name = name;
    entry.kind = KindOfMode(facts.stx_mode);
    // The same number stat's st_dev gives, which the purge library compares.
    entry.identity.device = makedev(facts.stx_dev_major, facts.stx_dev_minor);
    entry.identity.inode = facts.stx_ino;
    entry.identity.mount = (facts.stx_mask & STATX_MNT_ID) != 0 ? facts.stx_mnt_id : 0;
    entry.size = facts.stx_size;
    entry.links = facts.stx_nlink;
    entry.readOnly = (facts.stx_mode & S_IWUSR) == 0;
    return entry;
}

int OpenFolderAt(int folder, const std::string& name) {
    if (!IsSingleName(name)) {
        errno = EINVAL;
        return -1;
    }
    // O_DIRECTORY refuses anything else before it is opened, so a FIFO or
    // device never sees an open.
    return ::openat(folder, name.c_str(),
                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
}

std::unique_ptr<PosixFolderHandle> PosixFolderHandle::Adopt(int descriptor, std::string* why) {
    auto self = EntryAt(descriptor, "");
    if (!self || self->kind != EntryKind::Folder) {
        SetWhy(why, SystemErrorText(self ? ENOTDIR : errno));
        ::close(descriptor);
        return nullptr;
    }
    std::unique_ptr<PosixFolderHandle> handle(new PosixFolderHandle(descriptor));
    handle->identity_ = self->identity;
    return handle;
}

PosixFolderHandle::~PosixFolderHandle() { ::close(descriptor_); }

std::optional<std::vector<FolderEntry>> PosixFolderHandle::Read(std::string* why) {
    // A descriptor of our own, so that every read starts at the first entry.
    int fd = ::openat(descriptor_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (dir == nullptr) {
        SetWhy(why, SystemErrorText(errno));
        if (fd >= 0) ::close(fd);
        return std::nullopt;
    }
    // Names first, then their facts: counting before keeping lets the list
    // be made once at its size, where growing it would hold two copies of a
    // folder of 200,000 entries for a moment.
    std::size_t count = 0;
    while (::readdir(dir) != nullptr) ++count;
    ::rewinddir(dir);
    std::vector<FolderEntry> entries;
    entries.reserve(count);
    errno = 0;
    while (dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        // An entry that went away between the two calls is simply not there.
        if (auto entry = EntryAt(descriptor_, e->d_name)) entries.push_back(std::move(*entry));
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) {
        SetWhy(why, SystemErrorText(error));
        return std::nullopt;
    }
    return entries;
}

std::optional<FolderEntry> PosixFolderHandle::Look(const std::string& name) {
    if (!IsSingleName(name)) return std::nullopt;
    return EntryAt(descriptor_, name);
}

std::unique_ptr<FolderHandle> PosixFolderHandle::OpenSubfolder(const std::string& name,
                                                               const FileIdentity& expected,
                                                               std::string* why) {
    int fd = OpenFolderAt(descriptor_, name);
    if (fd < 0) {
        SetWhy(why, SystemErrorText(errno));
        return nullptr;
    }
    return KeptIfStill(Adopt(fd, why), expected, why);
}

std::unique_ptr<FolderHandle> PosixFolderHandle::OpenParent(const FileIdentity& expected,
                                                            std::string* why) {
    // ".." is the folder that holds this one now; only when that is the
    // folder expected is it the one this was opened from.
    int fd =
        ::openat(descriptor_, "..", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        SetWhy(why, SystemErrorText(errno));
        return nullptr;
    }
    auto parent = Adopt(fd, why);
    if (parent && !(parent->Identity() == expected)) {
        SetWhy(why, "it was moved while the run went on");
        return nullptr;
    }
    return parent;
}

bool PosixFolderHandle::SetReadOnly(const std::string& name, const FileIdentity& expected,
                                    bool readOnly) {
    if (!IsSingleName(name)) return false;
    int fd = OpenPathIfStill(descriptor_, name, expected);
    if (fd < 0) return false;
    bool done = false;
    struct stat facts {};
    if (::fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode)) {
        mode_t mode = facts.st_mode & 07777;
        mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
        // The descriptor's own entry in /proc names exactly the file checked
        // above, whatever happens to its name meanwhile.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        done = ::chmod(self.c_str(), mode) == 0;
    }
    ::close(fd);
    return done;
}

bool PosixFolderHandle::RemoveSubfolder(const std::string& name, const FileIdentity& expected) {
    auto now = Look(name);
    if (!now || now->kind != EntryKind::Folder || !(now->identity == expected)) return false;
    // Only an empty folder can go, so a folder swapped in meanwhile would
    // have to be empty too: nothing of value is lost.
    return ::unlinkat(descriptor_, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace platform
