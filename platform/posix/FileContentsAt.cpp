#include "platform/posix/FileContentsAt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace platform {
namespace {

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

std::string TemporaryNameFor(const std::string& name) {
    static std::mt19937_64 numbers{std::random_device{}()};
    return name + ".new-" + std::to_string(numbers() % 1000000000);
}

}  // namespace

std::optional<std::string> ReadWholeFileAt(int folder, const std::string& name,
                                           std::size_t maxBytes) {
    int fd =
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> contents;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        contents.emplace();
        char chunk[65536];
        ssize_t n = 0;
        while ((n = ::read(fd, chunk, sizeof chunk)) > 0) {
            if (contents->size() + static_cast<std::size_t>(n) > maxBytes) {
                contents.reset();
                break;
            }
            contents->append(chunk, static_cast<std::size_t>(n));
        }
        if (n < 0) contents.reset();
    }
    ::close(fd);
    return contents;
}

bool ReplaceFileAt(int folder, const std::string& name, const std::string& contents,
                   mode_t newFileMode, bool keepMode) {
    struct stat old {};
    const bool exists = ::fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    // A read-only file is the user's way of keeping it as it is.
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0)) return false;

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = TemporaryNameFor(name);
        fd = ::openat(folder, temporary.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    ::fchmod(fd, exists && keepMode ? (old.st_mode & 07777) : newFileMode);
    bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        ::unlinkat(folder, temporary.c_str(), 0);
        return false;
    }
    ::fsync(folder);  // makes the rename durable
    return true;
}

}  // namespace platform
