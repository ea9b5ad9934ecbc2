#include "platform/ProgramFolder.h"

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

void SetProgramFolderForTesting(const std::string& nativeFolder) { Override() = nativeFolder; }

}  // namespace platform
