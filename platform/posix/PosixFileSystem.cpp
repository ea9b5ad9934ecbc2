// The file system on POSIX: a drive path is resolved from the drive's root
// one name at a time with openat, never following a symbolic link, and
// everything else is done relative to the folder found.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/posix/FileContentsAt.h"
#include "platform/posix/PosixFolderHandle.h"

namespace platform {
namespace {

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
            SetWhy(why,
                   errno == ELOOP || errno == ENOTDIR ? "Path not found" : SystemErrorText(errno));
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
        return ReadWholeFileAt(static_cast<int>(place->folder->NativeHandle()), place->name,
                               maxBytes);
    }

    bool ReplaceFile(const std::string& path, const std::string& contents) override {
        auto place = OpenParent(path);
        return place && ReplaceFileAt(static_cast<int>(place->folder->NativeHandle()), place->name,
                                      contents, 0644);
    }
};

}  // namespace

std::shared_ptr<FileSystem> MakePosixFileSystem() { return std::make_shared<PosixFileSystem>(); }

std::shared_ptr<FileSystem> MakeSystemFileSystem() { return MakePosixFileSystem(); }

}  // namespace platform
