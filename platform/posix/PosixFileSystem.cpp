// The file system on POSIX: a drive path is resolved from the drive's root
// one name at a time with openat, never following a symbolic link, and
// everything else is done relative to the folder found.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/posix/PosixFolderHandle.h"

namespace platform {
namespace {

void SetWhy(std::string* why, const std::string& text) {
    if (why != nullptr) *why = text;
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

std::string TemporaryNameFor(const std::string& name) {
    static std::mt19937_64 numbers{std::random_device{}()};
    return name + ".new-" + std::to_string(numbers() % 1000000000);
}

class PosixFileSystem final : public FileSystem {
  public:
    std::unique_ptr<FolderHandle> OpenFolder(const std::string& path, std::string* why) override {
        auto parts = SplitDrivePath(path);
        if (!parts) {
            SetWhy(why, "Path not found");
            return nullptr;
        }
        // The drive's root is the table's to choose; below it no name may
        // be a symbolic link.
        int fd = ::open(Drives().Root(parts->letter).c_str(),
                        O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC);
        for (const auto& name : parts->names) {
            if (fd < 0) break;
            int next = OpenFolderAt(fd, name);
            int error = errno;
            ::close(fd);
            fd = next;
            errno = error;
        }
        if (fd < 0) {
            SetWhy(why, errno == ELOOP || errno == ENOTDIR ? "Path not found"
                                                           : SystemErrorText(errno));
            return nullptr;
        }
        return PosixFolderHandle::Adopt(fd, why);
    }

    bool CreateFolder(const std::string& path) override {
        auto place = OpenParent(path);
        if (!place) return false;
        int fd = static_cast<int>(place->folder->NativeHandle());
        if (::mkdirat(fd, place->name.c_str(), 0777) == 0) return true;
        if (errno != EEXIST) return false;
        auto entry = place->folder->Look(place->name);
        return entry && entry->kind == EntryKind::Folder;
    }

    std::optional<std::string> ReadWholeFile(const std::string& path,
                                             std::size_t maxBytes) override {
        auto place = OpenParent(path);
        if (!place) return std::nullopt;
        int fd = ::openat(static_cast<int>(place->folder->NativeHandle()), place->name.c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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

    bool ReplaceFile(const std::string& path, const std::string& contents) override {
        auto place = OpenParent(path);
        if (!place) return false;
        const int folder = static_cast<int>(place->folder->NativeHandle());
        auto existing = place->folder->Look(place->name);
        if (existing && (existing->kind != EntryKind::File || existing->readOnly)) return false;

        std::string temporary;
        int fd = -1;
        for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
            temporary = TemporaryNameFor(place->name);
            fd = ::openat(folder, temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0 && errno != EEXIST) return false;
        }
        if (fd < 0) return false;
        struct stat old {};
        bool keepMode = existing && ::fstatat(folder, place->name.c_str(), &old,
                                              AT_SYMLINK_NOFOLLOW) == 0;
        ::fchmod(fd, keepMode ? (old.st_mode & 07777) : 0644);
        bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
        written = ::close(fd) == 0 && written;
        if (!written || ::renameat(folder, temporary.c_str(), folder, place->name.c_str()) != 0) {
            ::unlinkat(folder, temporary.c_str(), 0);
            return false;
        }
        ::fsync(folder);  // makes the rename durable
        return true;
    }

};

}  // namespace

std::shared_ptr<FileSystem> MakePosixFileSystem() { return std::make_shared<PosixFileSystem>(); }

}  // namespace platform
