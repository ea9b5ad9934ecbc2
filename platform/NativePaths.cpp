#include "platform/NativePaths.h"

namespace platform {
namespace {

bool IsRoot(const std::string& path) {
    if (path.size() == 1) return path[0] == kNativeSeparator;
    return path.size() == 3 && path[1] == ':' && path[2] == kNativeSeparator;
}

}  // namespace

std::string JoinNative(const std::string& base, const std::string& name) {
    if (!base.empty() && base.back() == kNativeSeparator) return base + name;
    return base + kNativeSeparator + name;
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == kNativeSeparator && !IsRoot(path)) path.pop_back();
    return path;
}

std::string NativeParent(const std::string& path) {
    const std::string trimmed = WithoutTrailingSeparator(path);
    const auto at = trimmed.rfind(kNativeSeparator);
    if (at == std::string::npos || IsRoot(trimmed)) return "";
    std::string parent = trimmed.substr(0, at + 1);
    return IsRoot(parent) ? parent : WithoutTrailingSeparator(parent);
}

}  // namespace platform
