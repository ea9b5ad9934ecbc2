#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "torvix/small_file_reader.h"

namespace torvix {
namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

SmallFileRead ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string* contents) {
    Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0 || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return SmallFileRead::kCannotOpen;
    contents->clear();
    char chunk[4096];
    for (;;) {
        ssize_t got = read(file.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return SmallFileRead::kReadError;
        if (got == 0) return SmallFileRead::kRead;
        contents->append(chunk, static_cast<std::size_t>(got));
        if (contents->size() > maxBytes) return SmallFileRead::kTooLarge;
    }
}

}  // namespace torvix
