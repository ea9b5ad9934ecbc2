// Reserved space on POSIX. ext4 keeps min(2 %, 4096) clusters back from
// every writer so that it never runs quite full; the administrator may
// change that through /sys/fs/ext4/<device>/reserved_clusters, and the
// value lives only as long as the mount. A record reads
//   ext4 <major>:<minor> <mount id> <boot id> <old clusters> <cluster bytes>
// and the control file is found anew from the device number, never taken
// from the record, so a record cannot lead a write anywhere else. A record
// may have been altered since it was written, so restoring one only ever
// raises a reserve back, never lowers it.
//
// XFS keeps a pool too, but it is what lets XFS finish its own metadata
// updates on a full disk; it is left alone, and the fill reports the space
// it could not reach instead.
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

namespace platform {
namespace {

constexpr long kExt4Magic = 0xEF53;

struct Ext4Record {
    unsigned major = 0;
    unsigned minor = 0;
    std::uint64_t mount = 0;
    std::string boot;
    std::uint64_t oldClusters = 0;
    std::uint64_t blockBytes = 0;
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

std::optional<Ext4Record> Parse(const std::string& text) {
    std::istringstream in(text);
    std::string kind, device;
    Ext4Record record;
    char colon = 0;
    if (!(in >> kind) || kind != "ext4") return std::nullopt;
    if (!(in >> record.major >> colon >> record.minor) || colon != ':') return std::nullopt;
    if (!(in >> record.mount >> record.boot >> record.oldClusters >> record.blockBytes)) {
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
std::string ControlFor(const Ext4Record& record) {
    if (record.boot != BootId() || !StillMounted(record.mount, record.major, record.minor)) {
        return "";
    }
    return ControlFileOf(record.major, record.minor);
}

class PosixReservedSpace final : public ReservedSpace {
  public:
    std::optional<std::string> Describe(FolderHandle& folder) override {
        const int fd = static_cast<int>(folder.NativeHandle());
        struct statfs kind {};
        struct stat self {};
        struct statvfs space {};
        if (::fstatfs(fd, &kind) != 0 || kind.f_type != kExt4Magic || ::fstat(fd, &self) != 0 ||
            ::fstatvfs(fd, &space) != 0 || folder.Identity().mount == 0) {
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
        std::string control = ControlFor(*record);
        if (control.empty() || !WriteControl(control, 0)) return 0;
        return record->oldClusters * record->blockBytes;
    }

    bool Restore(const std::string& text) override {
        auto record = Parse(text);
        if (!record) return true;  // nothing this program could have lowered
        std::string control = ControlFor(*record);
        if (control.empty()) return true;
        const std::string current = FirstLineOf(control);
        if (current.empty() || current.size() > 18 ||
            current.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        if (std::stoull(current) >= record->oldClusters) return true;
        return WriteControl(control, record->oldClusters);
    }

    std::uint64_t FreeBytesOfAnyKind(FolderHandle& folder) override {
        struct statvfs space {};
        if (::fstatvfs(static_cast<int>(folder.NativeHandle()), &space) != 0) return 0;
        return std::uint64_t(space.f_bfree) * (space.f_frsize ? space.f_frsize : space.f_bsize);
    }
};

}  // namespace

std::shared_ptr<ReservedSpace> MakePosixReservedSpace() {
    return std::make_shared<PosixReservedSpace>();
}

std::shared_ptr<ReservedSpace> MakeSystemReservedSpace() { return MakePosixReservedSpace(); }

}  // namespace platform
