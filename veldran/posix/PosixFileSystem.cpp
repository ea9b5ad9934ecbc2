#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

#include "veldran/FileSystem.h"

namespace veldran {
namespace {

// Folders are held open only to name things relative to them. O_PATH needs
// no read permission on the folder, just as a path passing through it did
// not.
#ifdef O_PATH
constexpr int kFolderAccess = O_PATH;
#else
constexpr int kFolderAccess = O_RDONLY;
#endif

// A file descriptor, closed when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

OpenError ErrorFromErrno(int number) {
    return number == ENOENT || number == ENOTDIR ? OpenError::kNotFound : OpenError::kRefused;
}

// Why `name` in `parent` could not be opened as a folder. Only a name that
// leads to nothing, or to a file, is "not found". A link is refused, although
// the open calls it "not a folder", and so is a folder put in its place since
// the open failed.
OpenError SubfolderError(int parent, const std::string& name, int number) {
    struct stat info;
    if (fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return ErrorFromErrno(errno);
    if (S_ISLNK(info.st_mode) || S_ISDIR(info.st_mode)) return OpenError::kRefused;
    return ErrorFromErrno(number);
}

// Opens the folder `name` inside `parent`, refusing a symbolic link.
Descriptor OpenSubfolder(int parent, const std::string& name, OpenError* error) {
    Descriptor folder(
        openat(parent, name.c_str(), kFolderAccess | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) *error = SubfolderError(parent, name, errno);
    return folder;
}

// Opens the folder that `path` names one component at a time, so that no
// component can be a symbolic link: a link swapped in for a folder on the
// way must not lead the wipe elsewhere. Mount points on the way are crossed:
// the user named them, and a swap file often has a file system of its own.
// An empty path is the current folder.
Descriptor OpenFolder(std::string_view path, OpenError* error) {
    const char* start = !path.empty() && path.front() == '/' ? "/" : ".";
    Descriptor folder(open(start, kFolderAccess | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) *error = ErrorFromErrno(errno);
    std::size_t begin = 0;
    while (folder.valid() && begin < path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string_view::npos) end = path.size();
        if (end > begin) {
            folder =
                OpenSubfolder(folder.get(), std::string(path.substr(begin, end - begin)), error);
        }
        begin = end + 1;
    }
    return folder;
}

// "a/b/swap" is the name "swap" in the folder "a/b/"; "a/b/" is the folder
// "a/b" itself, named as "." in it.
std::pair<std::string_view, std::string> SplitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {std::string_view(), path};
    const std::string name = path.substr(slash + 1);
    return {std::string_view(path).substr(0, slash + 1), name.empty() ? "." : name};
}

bool ClearNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags != -1 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

class PosixFile final : public WipeFile {
  public:
    PosixFile(Descriptor folder, Descriptor file, std::string name, const struct stat& identity)
        : folder_(std::move(folder)),
          file_(std::move(file)),
          name_(std::move(name)),
          identity_(identity) {}

    int64_t Length() const override {
        struct stat info;
        return fstat(file_.get(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
    }

    std::size_t Write(int64_t offset, const uint8_t* data, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t count = pwrite(file_.get(), data + done, size - done,
                                         static_cast<off_t>(offset + static_cast<int64_t>(done)));
            if (count > 0) {
                done += static_cast<std::size_t>(count);
            } else if (count == 0 || errno != EINTR) {
                break;
            }
        }
        return done;
    }

    bool Flush() override {
        int status;
        do {
            status = fsync(file_.get());
        } while (status != 0 && errno == EINTR);
        return status == 0;
    }

    // POSIX cannot unlink a name only if it still leads to a given file, so
    // the look comes as late as it can. The folder descriptor keeps the look
    // and the unlink in the folder that was opened, whatever is renamed or
    // linked above it.
    bool Remove() override {
        struct stat named;
        if (fstatat(folder_.get(), name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !SameFile(named, identity_)) {
            return false;
        }
        return unlinkat(folder_.get(), name_.c_str(), 0) == 0;
    }

  private:
    Descriptor folder_;
    Descriptor file_;
    std::string name_;
    struct stat identity_;
};

class PosixFileSystem final : public FileSystem {
  public:
    PosixFileSystem() {
        // Past a file size limit a write should fail and end the pass like
        // any other failed write, not kill the program.
        signal(SIGXFSZ, SIG_IGN);
    }

    std::unique_ptr<WipeFile> Open(const std::string& path, OpenError* error) override {
        const auto [folderPath, name] = SplitPath(path);
        Descriptor folder = OpenFolder(folderPath, error);
        if (!folder.valid()) return nullptr;

        // Looked at before opening: opening a device can have effects of its
        // own. O_NONBLOCK keeps the open from waiting should a FIFO take the
        // name after the look.
        struct stat seen;
        if (fstatat(folder.get(), name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0) {
            *error = ErrorFromErrno(errno);
            return nullptr;
        }
        *error = OpenError::kRefused;
        if (!S_ISREG(seen.st_mode)) return nullptr;
        Descriptor file(openat(folder.get(), name.c_str(),
                               O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!file.valid()) {
            *error = ErrorFromErrno(errno);
            return nullptr;
        }
        // The name may have been given to something else since the look.
        struct stat opened;
        if (fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
            !SameFile(seen, opened) || !ClearNonBlocking(file.get())) {
            return nullptr;
        }
        *error = OpenError::kNone;
        return std::make_unique<PosixFile>(std::move(folder), std::move(file), name, opened);
    }
};

}  // namespace

FileSystem& NativeFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace veldran
