// Native files on POSIX: the folder is opened by its path, the file
// relative to it without following a link.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

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

bool WriteAll(int fd, const std::string& contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool IsNativePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    auto place = Split(path);
    if (!place) return std::nullopt;
    Descriptor folder(OpenFolder(place->folder));
    if (folder.Get() < 0) return std::nullopt;
    Descriptor file(::openat(folder.Get(), place->name.c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    std::string contents;
    char chunk[65536];
    ssize_t n = 0;
    while ((n = ::read(file.Get(), chunk, sizeof chunk)) > 0) {
        if (contents.size() + static_cast<std::size_t>(n) > maxBytes) return std::nullopt;
        contents.append(chunk, static_cast<std::size_t>(n));
    }
    if (n < 0) return std::nullopt;
    return contents;
}

bool ReplaceFile(const std::string& path, const std::string& contents) {
    auto place = Split(path);
    if (!place) return false;
    Descriptor folder(OpenFolder(place->folder));
    if (folder.Get() < 0) return false;
    struct stat old {};
    const bool exists =
        ::fstatat(folder.Get(), place->name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    // A read-only file is the user's way of keeping it as it is.
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0)) return false;

    static std::mt19937_64 numbers{std::random_device{}()};
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = place->name + ".new-" + std::to_string(numbers() % 1000000000);
        fd = ::openat(folder.Get(), temporary.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    ::fchmod(fd, exists ? (old.st_mode & 07777) : 0600);
    bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written ||
        ::renameat(folder.Get(), temporary.c_str(), folder.Get(), place->name.c_str()) != 0) {
        ::unlinkat(folder.Get(), temporary.c_str(), 0);
        return false;
    }
    ::fsync(folder.Get());  // makes the rename durable
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
