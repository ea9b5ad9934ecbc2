// The mounted file systems as the kernel lists them in /proc/self/mountinfo,
// and the one that holds a given folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct MountEntry {
    std::uint64_t id = 0;  // the mount's own id (statx's mount id)
    unsigned major = 0;    // device numbers of the file system
    unsigned minor = 0;
    std::string mountPoint;  // unescaped ("\040" is a blank)
    std::string type;        // "ext4", "vfat", "fuseblk", "fuse.sshfs", ...
    std::string source;      // "/dev/sdb1", "server:/export", "tmpfs", ...
};

// The entries of a mountinfo text in its order; malformed lines are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The entry whose mount point holds the canonical path (no links, no "..")
// most closely; of several on the same point the last, which hides the
// others. Null when none does.
const MountEntry* MountHolding(const std::vector<MountEntry>& entries, std::string_view path);

// This process's mount table; empty when it cannot be read.
std::vector<MountEntry> ReadMountTable();

}  // namespace platform
