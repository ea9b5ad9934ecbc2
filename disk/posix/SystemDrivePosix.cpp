// POSIX side of SystemDrive.h: folders are opened with O_PATH and their
// parents reached through "..", which also climbs out of mounts, so a drive
// folder that lies above or below a system folder is found whatever the
// path; a file system is told by its device.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "disk/DiskProc.h"
#include "disk/SystemDrive.h"
#include "platform/ProgramFolder.h"

namespace {

class PathDescriptor {
  public:
    explicit PathDescriptor(int fd) : fd_(fd) {}
    ~PathDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    PathDescriptor(const PathDescriptor&) = delete;
    PathDescriptor& operator=(const PathDescriptor&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_;
};

std::optional<std::vector<std::string>>& FoldersForTesting() {
    static std::optional<std::vector<std::string>> folders;
    return folders;
}

struct Candidate {
    std::string path;
    bool fileSystemCounts;  // a drive anywhere on its file system is refused
};

std::vector<Candidate> SystemFolders() {
    const std::vector<std::string> system = FoldersForTesting().value_or(std::vector<std::string>{
        "/", "/usr", "/etc", "/var", "/boot", platform::RealProgramFolderNative()});
    std::vector<Candidate> folders;
    for (const std::string& path : system) folders.push_back({path, true});
    // A test's program folder lies on the same disk as its drives.
    folders.push_back({platform::ProgramFolderNative(), !FoldersForTesting()});
    return folders;
}

bool SameObject(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when `target` is the folder `start` or any folder above it, up to
// the root of the whole tree.
bool IsOrLiesAbove(int start, const struct stat& target) {
    PathDescriptor current(::openat(start, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (current.Get() < 0) return false;
    struct stat here {};
    for (int depth = 0; depth < 4096 && ::fstat(current.Get(), &here) == 0; ++depth) {
        if (SameObject(here, target)) return true;
        int parent = ::openat(current.Get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (parent < 0) return false;
        struct stat above {};
        if (::fstat(parent, &above) != 0 || SameObject(above, here)) {
            ::close(parent);
            return false;  // the root of the whole tree
        }
        current.Reset(parent);
    }
    return false;
}

// True for the root of the whole tree: its ".." is itself.
bool IsTreeTop(int folder, const struct stat& facts) {
    PathDescriptor parent(::openat(folder, "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat above {};
    return parent.Get() >= 0 && ::fstat(parent.Get(), &above) == 0 && SameObject(above, facts);
}

struct SystemFolder {
    std::string path;
    struct stat facts;
    bool treeTop;
    bool fileSystemCounts;
};

}  // namespace

void SetSystemFoldersForTesting(std::optional<std::vector<std::string>> folders) {
    FoldersForTesting() = std::move(folders);
}

std::string WhyDriveIsTheSystems(const platform::FolderHandle& root) {
    const int drive = static_cast<int>(root.NativeHandle());
    struct stat driveFacts {};
    if (::fstat(drive, &driveFacts) != 0) return "";
    std::vector<SystemFolder> known;
    for (const Candidate& candidate : SystemFolders()) {
        if (candidate.path.empty()) continue;
        PathDescriptor folder(::open(candidate.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat facts {};
        if (folder.Get() < 0 || ::fstat(folder.Get(), &facts) != 0) continue;
        const bool top = IsTreeTop(folder.Get(), facts);
        if (IsOrLiesAbove(folder.Get(), driveFacts)) {
            return "holds " +
                   (top ? std::string("the root of the running system") : candidate.path);
        }
        known.push_back({candidate.path, facts, top, candidate.fileSystemCounts});
    }
    // Everything lies within the root of the tree: there only its file
    // system counts.
    for (const auto& folder : known) {
        if (!folder.treeTop && IsOrLiesAbove(drive, folder.facts)) {
            return "lies within " + folder.path;
        }
    }
    for (const auto& folder : known) {
        if (folder.fileSystemCounts && folder.facts.st_dev == driveFacts.st_dev) {
            return "lies on the file system of " +
                   (folder.treeTop ? std::string("the running system") : folder.path);
        }
    }
    return "";
}

bool OverwritesMissOldCopies(const std::string& drive) {
    static const std::set<std::string> kCopyOnWrite = {"btrfs", "zfs",    "bcachefs",
                                                       "f2fs",  "nilfs2", "nilfs"};
    platform::DriveObject object;
    if (OpenDriveObject(drive.substr(0, 2) + "\\", object) != 0) return false;
    return kCopyOnWrite.count(object.fileSystem) > 0;
}
