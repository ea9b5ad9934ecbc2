#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace platform {
namespace {
std::string& Override() {
    static std::string folder;
    return folder;
}
}  // namespace

std::string ProgramFolderNative() {
    if (!Override().empty()) return Override();
    return RealProgramFolderNative();
}

std::string RealProgramFolderNative() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

void SetProgramFolderForTesting(const std::string& nativeFolder) { Override() = nativeFolder; }

}  // namespace platform
