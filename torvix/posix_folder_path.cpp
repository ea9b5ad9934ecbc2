#include "torvix/posix_folder_path.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace torvix {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;

int OpenFolderByOpenat2(const std::string& path, int* folder) {
    open_how how{};
    how.flags = kFolderFlags;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    long fd = syscall(SYS_openat2, AT_FDCWD, path.c_str(), &how, sizeof how);
    if (fd < 0) return errno;
    *folder = static_cast<int>(fd);
    return 0;
}

}  // namespace

int OpenFolderByWalk(const std::string& path, int* folder) {
    if (path.empty()) return ENOENT;
    int current = open(path[0] == '/' ? "/" : ".", kFolderFlags);
    if (current < 0) return errno;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string component = path.substr(start, slash - start);
        start = slash + 1;
        if (component.empty() || component == ".") continue;
        int next = openat(current, component.c_str(), kFolderFlags);
        int error = errno;
        close(current);
        if (next < 0) return error;
        current = next;
    }
    *folder = current;
    return 0;
}

int OpenFolderWithoutLinks(const std::string& path, int* folder) {
    if (path.empty()) return ENOENT;
    int error = OpenFolderByOpenat2(path, folder);
    // Kernels before 5.6, and sandboxes that filter the call, lack it.
    if (error == ENOSYS || error == EPERM) return OpenFolderByWalk(path, folder);
    return error;
}

}  // namespace torvix
