#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "veldran/FileSystem.h"

namespace veldran {
namespace {

class PosixFile final : public WipeFile {
  public:
    PosixFile(int fd, int64_t length) : fd_(fd), length_(length) {}
    ~PosixFile() override { close(fd_); }

    int64_t Length() const override { return length_; }

    std::size_t Write(const uint8_t* data, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t count = write(fd_, data + done, size - done);
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
            status = fsync(fd_);
        } while (status != 0 && errno == EINTR);
        return status == 0;
    }

  private:
    int fd_;
    int64_t length_;
};

class PosixFileSystem final : public FileSystem {
  public:
    PosixFileSystem() {
        // Past a file size limit a write should fail and end the pass like
        // any other failed write, not kill the program.
        signal(SIGXFSZ, SIG_IGN);
    }

    std::unique_ptr<WipeFile> Open(const std::string& path, OpenError* error) override {
        *error = OpenError::kRefused;
        // Looked at before opening: opening a device or a FIFO can block or
        // have effects of its own.
        struct stat info;
        if (lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) *error = OpenError::kNotFound;
            return nullptr;
        }
        if (!S_ISREG(info.st_mode)) return nullptr;

        const int fd = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT) *error = OpenError::kNotFound;
            return nullptr;
        }
        // The name may have been given to something else since the look.
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
            close(fd);
            return nullptr;
        }
        *error = OpenError::kNone;
        return std::make_unique<PosixFile>(fd, static_cast<int64_t>(info.st_size));
    }

    bool Remove(const std::string& path) override { return unlink(path.c_str()) == 0; }
};

}  // namespace

FileSystem& NativeFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace veldran
