// Whether a POSIX folder tells names apart by case. Most Linux file systems
// do; FAT and exFAT never do, nor do folders that ext4 or f2fs fold case in
// (chattr +F), nor, as a rule, the Windows shares of a CIFS mount. A file
// system the program cannot judge counts as telling case apart: showing a
// name as it is spelt never makes two files look alike.
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>

#include <cstdint>

#include "platform/posix/PosixFolderHandle.h"

namespace platform {
namespace {

#ifndef FS_CASEFOLD_FL
constexpr long FS_CASEFOLD_FL = 0x40000000;
#endif

constexpr std::uint32_t kFatMagic = 0x4d44;
constexpr std::uint32_t kExFatMagic = 0x2011BAB0;
constexpr std::uint32_t kHfsPlusMagic = 0x482b;
constexpr std::uint32_t kCifsMagic = 0xFF534D42;
constexpr std::uint32_t kSmb2Magic = 0xFE534D42;

bool FileSystemFoldsCase(int descriptor) {
    struct statfs kind {};
    if (::fstatfs(descriptor, &kind) != 0) return false;
    switch (static_cast<std::uint32_t>(kind.f_type)) {
        case kFatMagic:
        case kExFatMagic:
        case kHfsPlusMagic:
        case kCifsMagic:
        case kSmb2Magic:
            return true;
        default:
            return false;
    }
}

bool FolderFoldsCase(int descriptor) {
    int flags = 0;
    return ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0;
}

}  // namespace

bool PosixFolderHandle::TellsNamesApartByCase() const {
    const int descriptor = static_cast<int>(NativeHandle());
    return !FileSystemFoldsCase(descriptor) && !FolderFoldsCase(descriptor);
}

}  // namespace platform
