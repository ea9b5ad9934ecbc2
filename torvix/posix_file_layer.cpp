#include "torvix/posix_file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>

#include "torvix/posix_folder_path.h"

namespace torvix {
namespace {

// A handle that cannot be a descriptor (negative, or beyond an int, whose
// low half would name another descriptor) becomes -1, which every call
// refuses: AT_FDCWD and its kin are no folder a caller opened.
int Fd(Handle handle) {
    if (handle < 0 || handle > std::numeric_limits<int>::max()) return -1;
    return static_cast<int>(handle);
}

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::kRegular;
    if (S_ISDIR(mode)) return FileKind::kFolder;
    if (S_ISLNK(mode)) return FileKind::kSymbolicLink;
    return FileKind::kOther;
}

// statx where the kernel has it (it alone gives the mount id), else fstatat
// with the mount left unknown.
int StatxFacts(int folder, const char* name, int flags, FileFacts* facts) {
    struct statx info;
    if (statx(folder, name, flags, STATX_BASIC_STATS | STATX_MNT_ID, &info) == 0) {
        facts->kind = KindOf(info.stx_mode);
        facts->size = info.stx_size;
        facts->device = makedev(info.stx_dev_major, info.stx_dev_minor);
        facts->inode = info.stx_ino;
        facts->mountId = (info.stx_mask & STATX_MNT_ID) != 0 ? info.stx_mnt_id : 0;
        facts->links = info.stx_nlink;
        return 0;
    }
    if (errno != ENOSYS) return errno;
    struct stat old;
    if (fstatat(folder, name, &old, flags) != 0) return errno;
    facts->kind = KindOf(old.st_mode);
    facts->size = old.st_size > 0 ? static_cast<uint64_t>(old.st_size) : 0;
    facts->device = static_cast<uint64_t>(old.st_dev);
    facts->inode = static_cast<uint64_t>(old.st_ino);
    facts->mountId = 0;
    facts->links = static_cast<uint64_t>(old.st_nlink);
    return 0;
}

}  // namespace

bool PosixFileLayer::IsEntryName(const std::string& name) const {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

int PosixFileLayer::OpenParentFolder(const std::string& path, Handle* folder, std::string* name) {
    std::size_t slash = path.find_last_of('/');
    std::string folderPath = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
    *name = slash == std::string::npos ? path : path.substr(slash + 1);
    int fd = -1;
    if (int error = OpenFolderWithoutLinks(folderPath, &fd)) return error;
    *folder = fd;
    return 0;
}

int PosixFileLayer::StatAt(Handle folder, const std::string& name, FileFacts* facts) {
    return StatxFacts(Fd(folder), name.c_str(), AT_SYMLINK_NOFOLLOW, facts);
}

int PosixFileLayer::OpenForOverwrite(Handle folder, const std::string& name, Handle* file) {
    int fd =
        openat(Fd(folder), name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    // Non-blocking only guarded the open; writes to a regular file must not
    // come back early with EAGAIN.
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        int error = errno;
        close(fd);
        return error;
    }
    *file = fd;
    return 0;
}

int PosixFileLayer::Stat(Handle handle, FileFacts* facts) {
    return StatxFacts(Fd(handle), "", AT_EMPTY_PATH, facts);
}

int PosixFileLayer::WriteAt(Handle file, const unsigned char* data, std::size_t size,
                            uint64_t offset, std::size_t* written) {
    ssize_t result = pwrite(Fd(file), data, size, static_cast<off_t>(offset));
    if (result < 0) return errno;
    *written = static_cast<std::size_t>(result);
    return 0;
}

void PosixFileLayer::StartWriteBack(Handle file, uint64_t offset, uint64_t length) {
    sync_file_range(Fd(file), static_cast<off64_t>(offset), static_cast<off64_t>(length),
                    SYNC_FILE_RANGE_WRITE);
}

int PosixFileLayer::SyncData(Handle file) {
    if (fdatasync(Fd(file)) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    return fsync(Fd(file)) == 0 ? 0 : errno;
}

int PosixFileLayer::Truncate(Handle file, uint64_t length) {
    return ftruncate(Fd(file), static_cast<off_t>(length)) == 0 ? 0 : errno;
}

int PosixFileLayer::RenameAt(Handle folder, const std::string& from, const std::string& to) {
    int fd = Fd(folder);
    if (renameat2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // The file system cannot refuse to replace: look first. The window
    // between the look and the rename is accepted on such file systems.
    struct stat info;
    if (fstatat(fd, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    if (errno != ENOENT) return errno;
    return renameat(fd, from.c_str(), fd, to.c_str()) == 0 ? 0 : errno;
}

int PosixFileLayer::UnlinkAt(Handle folder, const std::string& name) {
    return unlinkat(Fd(folder), name.c_str(), 0) == 0 ? 0 : errno;
}

int PosixFileLayer::SyncFolder(Handle folder) {
    if (fsync(Fd(folder)) == 0 || errno == EINVAL) return 0;
    return errno;
}

void PosixFileLayer::Close(Handle handle) {
    if (handle >= 0) close(Fd(handle));
}

}  // namespace torvix
