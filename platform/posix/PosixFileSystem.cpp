// The file system on POSIX: drive paths are mapped to native paths by the
// drive table, and every query uses lstat so that links are never followed.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

EntryKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISLNK(mode)) return EntryKind::SymbolicLink;
    return EntryKind::Other;
}

std::optional<struct stat> LStat(const std::string& drivePath) {
    auto native = ToNativePath(drivePath);
    if (!native) return std::nullopt;
    struct stat st {};
    if (::lstat(native->c_str(), &st) != 0) return std::nullopt;
    return st;
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

// Makes a rename in the folder durable.
void SyncFolderOf(const std::string& nativePath) {
    auto slash = nativePath.find_last_of('/');
    std::string folder = slash == 0 ? "/" : nativePath.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

class PosixFileSystem final : public FileSystem {
public:
    std::optional<std::vector<FolderEntry>> ReadFolder(const std::string& path) override {
        auto native = ToNativePath(path);
        if (!native) return std::nullopt;
        int fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            ::close(fd);
            return std::nullopt;
        }
        std::vector<FolderEntry> entries;
        while (dirent* e = ::readdir(dir)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // vanished
            entries.push_back({std::move(name), KindOfMode(st.st_mode)});
        }
        ::closedir(dir);
        return entries;
    }

    std::optional<EntryKind> KindOf(const std::string& path) override {
        auto st = LStat(path);
        if (!st) return std::nullopt;
        return KindOfMode(st->st_mode);
    }

    std::optional<std::uint64_t> FileLength(const std::string& path) override {
        auto st = LStat(path);
        if (!st || !S_ISREG(st->st_mode)) return std::nullopt;
        return static_cast<std::uint64_t>(st->st_size);
    }

    std::optional<FileAttributes> Attributes(const std::string& path) override {
        auto st = LStat(path);
        if (!st) return std::nullopt;
        FileAttributes a;
        a.readOnly = (st->st_mode & S_IWUSR) == 0;
        a.folder = S_ISDIR(st->st_mode);
        auto slash = path.find_last_of("\\/");
        a.hidden = path.compare(slash == std::string::npos ? 0 : slash + 1, 1, ".") == 0;
        return a;
    }

    bool SetReadOnly(const std::string& path, bool readOnly) override {
        auto native = ToNativePath(path);
        auto st = LStat(path);
        if (!native || !st || S_ISLNK(st->st_mode)) return false;
        mode_t mode = st->st_mode & 07777;
        mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
        return ::chmod(native->c_str(), mode) == 0;
    }

    bool CreateFolder(const std::string& path) override {
        auto native = ToNativePath(path);
        if (!native) return false;
        if (::mkdir(native->c_str(), 0777) == 0) return true;
        return errno == EEXIST && FolderExists(path);
    }

    bool RemoveFolder(const std::string& path) override {
        auto native = ToNativePath(path);
        return native && ::rmdir(native->c_str()) == 0;
    }

    bool RemoveFile(const std::string& path) override {
        auto native = ToNativePath(path);
        return native && ::unlink(native->c_str()) == 0;
    }

    std::optional<std::string> ReadWholeFile(const std::string& path,
                                             std::size_t maxBytes) override {
        auto native = ToNativePath(path);
        if (!native) return std::nullopt;
        int fd = ::open(native->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
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
        auto native = ToNativePath(path);
        if (!native) return false;
        struct stat existing {};
        bool exists = ::lstat(native->c_str(), &existing) == 0;
        if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & S_IWUSR) == 0)) {
            return false;
        }
        std::string temporary = *native + ".new-XXXXXX";
        int fd = ::mkstemp(temporary.data());
        if (fd < 0) return false;
        ::fchmod(fd, exists ? (existing.st_mode & 07777) : 0644);
        bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
        written = ::close(fd) == 0 && written;
        if (!written || ::rename(temporary.c_str(), native->c_str()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
        SyncFolderOf(*native);
        return true;
    }

    std::optional<std::uint64_t> DeviceOf(const std::string& path) override {
        auto st = LStat(path);
        if (!st) return std::nullopt;
        return static_cast<std::uint64_t>(st->st_dev);
    }
};

}  // namespace

std::shared_ptr<FileSystem> MakePosixFileSystem() { return std::make_shared<PosixFileSystem>(); }

}  // namespace platform
