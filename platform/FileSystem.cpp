#include "platform/FileSystem.h"

namespace platform {
namespace {
std::shared_ptr<FileSystem>& Override() {
    static std::shared_ptr<FileSystem> fs;
    return fs;
}
}  // namespace

FileSystem& Files() {
    if (Override()) return *Override();
    static std::shared_ptr<FileSystem> real = MakePosixFileSystem();
    return *real;
}

void SetFileSystemForTesting(std::shared_ptr<FileSystem> fs) { Override() = std::move(fs); }

}  // namespace platform
