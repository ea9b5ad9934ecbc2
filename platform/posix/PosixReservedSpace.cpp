// Reserved space on POSIX. ext4 keeps min(2 %, 4096) clusters back from
// every writer so that it never runs quite full; the administrator may
// change that through /sys/fs/ext4/<device>/reserved_clusters, and the
// value lives only as long as the mount. XFS keeps a pool of blocks back in
// the same way, set through its own ioctl on any folder of the mount. A
// record reads
//   <ext4|xfs> <major>:<minor> <mount id> <boot id> <old reserve> <unit bytes>
// and what it acts on (ext4's control file, the XFS mount) is found anew
// from the device number and mount id and checked against them, never taken
// from the record, so a record cannot lead a write anywhere else. A record
// may have been altered since it was written, so restoring one only ever
// raises a reserve back, never lowers it.
//
// What XFS keeps for each allocation group's metadata cannot be lowered;
// the fill reports that space as out of its reach.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "platform/ReservedSpace.h"
#include "platform/posix/AllocationUnit.h"
#include "platform/posix/FileSystemMagic.h"
#include "platform/posix/XfsSpace.h"

namespace platform {
namespace {

struct Record {
    std::string kind;  // "ext4" or "xfs"
    unsigned major = 0;
    unsigned minor = 0;
    std::uint64_t mount = 0;
    std::string boot;
    std::uint64_t oldReserve = 0;  // clusters (ext4) or blocks (xfs)
    std::uint64_t unitBytes = 0;
};

std::string FirstLineOf(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string BootId() { return FirstLineOf("/proc/sys/kernel/random/boot_id"); }

bool IsPlainName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '_' || c == '.';
        if (!plain) return false;
    }
    return true;
}

// /sys/fs/ext4/<device>/reserved_clusters of a block device; "" when the
// device has none.
std::string ControlFileOf(unsigned major, unsigned minor) {
    char target[PATH_MAX];
    std::string link = "/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
    ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0) return "";
    std::string device(target, static_cast<std::size_t>(n));
    device = device.substr(device.rfind('/') + 1);
    if (!IsPlainName(device)) return "";
    std::string control = "/sys/fs/ext4/" + device + "/reserved_clusters";
    return ::access(control.c_str(), F_OK) == 0 ? control : "";
}

// True while the mount with this id still shows the device.
bool StillMounted(std::uint64_t mount, unsigned major, unsigned minor) {
    std::ifstream in("/proc/self/mountinfo");
    std::string line;
    const std::string device = std::to_string(major) + ":" + std::to_string(minor);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::uint64_t id = 0;
        std::string parent, numbers;
        if (fields >> id >> parent >> numbers && id == mount) return numbers == device;
    }
    return false;
}

std::optional<Record> Parse(const std::string& text) {
    std::istringstream in(text);
    Record record;
    char colon = 0;
    if (!(in >> record.kind) || (record.kind != "ext4" && record.kind != "xfs")) {
        return std::nullopt;
    }
    if (!(in >> record.major >> colon >> record.minor) || colon != ':') return std::nullopt;
    if (!(in >> record.mount >> record.boot >> record.oldReserve >> record.unitBytes)) {
        return std::nullopt;
    }
    return record;
}

bool WriteControl(const std::string& control, std::uint64_t value) {
    std::ofstream out(control);
    out << value << '\n';
    out.flush();
    return static_cast<bool>(out);
}

// The control file of a record whose mount is still the one it was taken
// from; "" when the record has nothing left to act on.
std::string ControlFor(const Record& record) {
    if (record.kind != "ext4" || record.boot != BootId() ||
        !StillMounted(record.mount, record.major, record.minor)) {
        return "";
    }
    return ControlFileOf(record.major, record.minor);
}

// The top folder of the XFS mount a record was taken from, while it is
// still mounted as it was; -1 when the record has nothing left to act on.
int XfsMountFor(const Record& record) {
    if (record.kind != "xfs" || record.boot != BootId()) return -1;
    return OpenXfsMount(record.mount, record.major, record.minor);
}

std::optional<std::string> DescribeXfs(int fd, const FolderHandle& folder) {
    struct stat self {};
    const auto pool = XfsReservePool(fd);
    const std::uint64_t block = XfsBlockBytes(fd);
    if (!pool || *pool == 0 || block == 0 || ::fstat(fd, &self) != 0 ||
        folder.Identity().mount == 0) {
        return std::nullopt;
    }
    std::ostringstream record;
    record << "xfs " << ::major(self.st_dev) << ':' << ::minor(self.st_dev) << ' '
           << folder.Identity().mount << ' ' << BootId() << ' ' << *pool << ' ' << block;
    return record.str();
}

std::uint64_t LowerXfs(const Record& record) {
    const int fd = XfsMountFor(record);
    if (fd < 0) return 0;
    const bool lowered = SetXfsReservePool(fd, 0);
    ::close(fd);
    return lowered ? record.oldReserve * record.unitBytes : 0;
}

bool RestoreXfs(const Record& record) {
    const int fd = XfsMountFor(record);
    if (fd < 0) return true;
    const auto now = XfsReservePool(fd);
    const bool done =
        now && (*now >= record.oldReserve || SetXfsReservePool(fd, record.oldReserve));
    ::close(fd);
    return done;
}

class PosixReservedSpace final : public ReservedSpace {
  public:
    std::optional<std::string> Describe(FolderHandle& folder) override {
        const int fd = static_cast<int>(folder.NativeHandle());
        struct statfs kind {};
        struct stat self {};
        struct statvfs space {};
        if (::fstatfs(fd, &kind) != 0) return std::nullopt;
        if (kind.f_type != kExt4Magic) return DescribeXfs(fd, folder);
        if (::fstat(fd, &self) != 0 || ::fstatvfs(fd, &space) != 0 ||
            folder.Identity().mount == 0) {
            return std::nullopt;
        }
        const unsigned major = ::major(self.st_dev);
        const unsigned minor = ::minor(self.st_dev);
        std::string control = ControlFileOf(major, minor);
        if (control.empty() || ::access(control.c_str(), W_OK) != 0) return std::nullopt;
        std::string current = FirstLineOf(control);
        if (current.empty() || current.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        std::uint64_t clusters = std::stoull(current);
        if (clusters == 0) return std::nullopt;
        std::ostringstream record;
        // The reserve counts clusters, which bigalloc makes many blocks.
        const std::uint64_t unit = AllocationUnitAt(fd);
        const std::uint64_t block = space.f_frsize ? space.f_frsize : space.f_bsize;
        record << "ext4 " << major << ':' << minor << ' ' << folder.Identity().mount << ' '
               << BootId() << ' ' << clusters << ' ' << (unit ? unit : block);
        return record.str();
    }

    std::uint64_t Lower(const std::string& text) override {
        auto record = Parse(text);
        if (!record) return 0;
        if (record->kind == "xfs") return LowerXfs(*record);
        std::string control = ControlFor(*record);
        if (control.empty() || !WriteControl(control, 0)) return 0;
        return record->oldReserve * record->unitBytes;
    }

    bool Restore(const std::string& text) override {
        auto record = Parse(text);
        if (!record) return true;  // nothing this program could have lowered
        if (record->kind == "xfs") return RestoreXfs(*record);
        std::string control = ControlFor(*record);
        if (control.empty()) return true;
        const std::string current = FirstLineOf(control);
        if (current.empty() || current.size() > 18 ||
            current.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        if (std::stoull(current) >= record->oldReserve) return true;
        return WriteControl(control, record->oldReserve);
    }

    std::uint64_t FreeBytesOfAnyKind(FolderHandle& folder) override {
        const int fd = static_cast<int>(folder.NativeHandle());
        // statfs leaves out what XFS keeps for its groups' metadata.
        if (auto xfs = XfsFreeBytes(fd)) return *xfs;
        struct statvfs space {};
        if (::fstatvfs(fd, &space) != 0) return 0;
        return std::uint64_t(space.f_bfree) * (space.f_frsize ? space.f_frsize : space.f_bsize);
    }
};

}  // namespace

std::shared_ptr<ReservedSpace> MakePosixReservedSpace() {
    return std::make_shared<PosixReservedSpace>();
}

std::shared_ptr<ReservedSpace> MakeSystemReservedSpace() { return MakePosixReservedSpace(); }

}  // namespace platform
