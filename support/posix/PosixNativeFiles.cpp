// Native files on POSIX: the folder is opened by its path, the file
// relative to it without following a link.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/FileContentsAt.h"
#include "support/NativeFiles.h"

namespace native_files {
namespace {

// An open descriptor that closes itself.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

struct Place {
    std::string folder;
    std::string name;
};

std::optional<Place> Split(const std::string& path) {
    const auto slash = path.rfind('/');
    if (!IsNativePath(path) || slash == path.size() - 1) return std::nullopt;
    return Place{slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

int OpenFolder(const std::string& folder) {
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC);
}

}  // namespace

bool IsNativePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    auto place = Split(path);
    if (!place) return std::nullopt;
    Descriptor folder(OpenFolder(place->folder));
    if (folder.Get() < 0) return std::nullopt;
    return platform::ReadWholeFileAt(folder.Get(), place->name, maxBytes);
}

bool ReplaceFile(const std::string& path, const std::string& contents) {
    auto place = Split(path);
    if (!place) return false;
    Descriptor folder(OpenFolder(place->folder));
    // The per-user files are the user's alone.
    return folder.Get() >= 0 && platform::ReplaceFileAt(folder.Get(), place->name, contents, 0600);
}

bool ReplacePrivateFile(const std::string& path, const std::string& contents) {
    auto place = Split(path);
    if (!place) return false;
    Descriptor folder(OpenFolder(place->folder));
    return folder.Get() >= 0 &&
           platform::ReplaceFileAt(folder.Get(), place->name, contents, 0600, false);
}

bool IsPrivateFile(const std::string& path, std::string& why) {
    auto place = Split(path);
    if (!place) {
        why = "it is not a file";
        return false;
    }
    Descriptor folder(OpenFolder(place->folder));
    struct stat dir {};
    struct stat file {};
    if (folder.Get() < 0 || ::fstat(folder.Get(), &dir) != 0 ||
        ::fstatat(folder.Get(), place->name.c_str(), &file, AT_SYMLINK_NOFOLLOW) != 0) {
        why = "it cannot be examined";
        return false;
    }
    if (!S_ISREG(file.st_mode) || file.st_uid != ::geteuid() || (file.st_mode & 07777) != 0600) {
        why = "it is not a regular file of yours with mode 0600";
        return false;
    }
    if (dir.st_uid != ::geteuid() || (dir.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        why = "others can write to its folder";
        return false;
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return IsNativePath(path) && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CreateFolder(const std::string& path) {
    if (!IsNativePath(path)) return false;
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    struct stat st {};
    return errno == EEXIST && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<platform::FileIdentity> FolderIdentity(const std::string& path) {
    struct stat st {};
    if (!IsNativePath(path) || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return std::nullopt;
    }
    platform::FileIdentity identity;
    identity.device = st.st_dev;
    identity.inode = st.st_ino;
    return identity;
}

}  // namespace native_files
