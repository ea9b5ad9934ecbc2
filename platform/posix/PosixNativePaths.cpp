#include <set>

#include "platform/NativePaths.h"
#include "platform/posix/MountTable.h"

namespace platform {
namespace {

// Mounted file systems that hold files of their own on a device, not
// kernel views or memory.
std::vector<std::string> RealMountPoints() {
    static const std::set<std::string> kVirtual = {
        "proc",    "sysfs",  "devtmpfs", "devpts",      "cgroup",      "cgroup2", "securityfs",
        "pstore",  "debugfs", "tracefs", "mqueue",      "hugetlbfs",   "configfs", "fusectl",
        "bpf",     "autofs", "binfmt_misc", "rpc_pipefs", "nsfs",      "efivarfs", "overlay",
        "squashfs", "ramfs", "tmpfs"};
    std::vector<std::string> points;
    for (const auto& mount : ReadMountTable()) {
        if (kVirtual.count(mount.type) || mount.source.rfind("/dev/", 0) != 0) continue;
        if (mount.mountPoint == "/") continue;
        points.push_back(mount.mountPoint);
    }
    return points;
}

}  // namespace

const char kNativeSeparator = '/';

DriveTable DefaultDriveTable() {
    DriveTable table;
    table.Map('C', "/");
    char next = 'D';
    for (const auto& point : RealMountPoints()) {
        if (next > 'Z') break;
        table.Map(next++, point);
    }
    return table;
}

}  // namespace platform
