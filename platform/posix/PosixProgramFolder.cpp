#include <filesystem>
#include <system_error>

#include "platform/ProgramFolder.h"

namespace platform {

std::string RealProgramFolderNative() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

}  // namespace platform
