#include "torvix/posix_file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace torvix {
namespace {

void ToFacts(const struct stat& info, FileFacts* facts) {
    facts->kind = S_ISREG(info.st_mode)   ? FileKind::kRegular
                  : S_ISLNK(info.st_mode) ? FileKind::kSymbolicLink
                                          : FileKind::kOther;
    facts->size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    facts->device = static_cast<uint64_t>(info.st_dev);
    facts->inode = static_cast<uint64_t>(info.st_ino);
}

}  // namespace

int PosixFileLayer::OpenFolder(const std::string& path, int* folder) {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    *folder = fd;
    return 0;
}

int PosixFileLayer::StatAt(int folder, const std::string& name, FileFacts* facts) {
    struct stat info;
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    ToFacts(info, facts);
    return 0;
}

int PosixFileLayer::OpenForOverwrite(int folder, const std::string& name, int* file) {
    int fd =
        openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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

int PosixFileLayer::Stat(int file, FileFacts* facts) {
    struct stat info;
    if (fstat(file, &info) != 0) return errno;
    ToFacts(info, facts);
    return 0;
}

int PosixFileLayer::WriteAt(int file, const unsigned char* data, std::size_t size, uint64_t offset,
                            std::size_t* written) {
    ssize_t result = pwrite(file, data, size, static_cast<off_t>(offset));
    if (result < 0) return errno;
    *written = static_cast<std::size_t>(result);
    return 0;
}

int PosixFileLayer::SyncData(int file) {
    if (fdatasync(file) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    return fsync(file) == 0 ? 0 : errno;
}

int PosixFileLayer::Truncate(int file, uint64_t length) {
    return ftruncate(file, static_cast<off_t>(length)) == 0 ? 0 : errno;
}

int PosixFileLayer::RenameAt(int folder, const std::string& from, const std::string& to) {
    if (renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // The file system cannot refuse to replace: look first. The window
    // between the look and the rename is accepted on such file systems.
    struct stat info;
    if (fstatat(folder, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    if (errno != ENOENT) return errno;
    return renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
}

int PosixFileLayer::UnlinkAt(int folder, const std::string& name) {
    return unlinkat(folder, name.c_str(), 0) == 0 ? 0 : errno;
}

int PosixFileLayer::SyncFolder(int folder) {
    if (fsync(folder) == 0 || errno == EINVAL) return 0;
    return errno;
}

void PosixFileLayer::Close(int handle) {
    if (handle >= 0) close(handle);
}

}  // namespace torvix
