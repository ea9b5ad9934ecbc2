// POSIX side of SystemDrive.h: folders are opened with O_PATH and their
// parents reached through "..", which also climbs out of mounts, so a
// drive folder that lies above a system folder is found whatever the path.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "disk/DiskProc.h"
#include "disk/SystemDrive.h"
#include "platform/DrivePaths.h"
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

bool SameObject(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when `folder` is the drive's folder or lies somewhere below it.
bool LiesWithin(const std::string& folder, const struct stat& drive) {
    PathDescriptor current(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (current.Get() < 0) return false;
    struct stat here {};
    for (int depth = 0; depth < 4096 && ::fstat(current.Get(), &here) == 0; ++depth) {
        if (SameObject(here, drive)) return true;
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

}  // namespace

std::string SystemFolderOnDrive(const std::string& drive) {
    auto native = platform::ToNativePath(drive.substr(0, 2) + "\\");
    if (!native) return "";
    struct stat root {};
    if (::stat(native->c_str(), &root) != 0) return "";
    struct stat systemRoot {};
    if (::stat("/", &systemRoot) == 0 && SameObject(root, systemRoot)) return "/";
    for (const char* folder : {"/usr", "/etc", "/boot"}) {
        if (LiesWithin(folder, root)) return folder;
    }
    for (const std::string& program :
         {platform::ProgramFolderNative(), platform::RealProgramFolderNative()}) {
        if (!program.empty() && LiesWithin(program, root)) return program;
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
