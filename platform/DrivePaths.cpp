#include "platform/DrivePaths.h"

#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/NativePaths.h"

namespace platform {
namespace {

int IndexOf(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return (letter >= 'A' && letter <= 'Z') ? letter - 'A' : -1;
}

std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}
std::optional<DriveTable>& TableInForce() {
    static std::optional<DriveTable> table;
    return table;
}

}  // namespace

DriveTable DriveTable::FromSpec(std::string_view spec) {
    DriveTable table;
    std::size_t pos = 0;
    while (pos <= spec.size()) {
        std::size_t end = spec.find(';', pos);
        if (end == std::string_view::npos) end = spec.size();
        std::string_view entry = spec.substr(pos, end - pos);
        pos = end + 1;
        std::size_t eq = entry.find('=');
        if (eq != 1 || entry.size() < 3 || IndexOf(entry[0]) < 0) continue;
        table.Map(entry[0], std::string(entry.substr(2)));
    }
    return table;
}

DriveTable DriveTable::FromEnvironment() {
    if (const char* spec = std::getenv("KESTRANE_DRIVES")) return FromSpec(spec);
    return DefaultDriveTable();
}

void DriveTable::Map(char letter, std::string nativeRoot) {
    int i = IndexOf(letter);
    if (i < 0) return;
    roots_[i] = nativeRoot.empty() ? std::string() : WithoutTrailingSeparator(std::move(nativeRoot));
}

const std::string& DriveTable::Root(char letter) const {
    static const std::string kNone;
    int i = IndexOf(letter);
    return i < 0 ? kNone : roots_[i];
}

const DriveTable& Drives() {
    std::lock_guard lock(TableMutex());
    if (!TableInForce()) TableInForce() = DriveTable::FromEnvironment();
    return *TableInForce();
}

void SetDrives(DriveTable table) {
    std::lock_guard lock(TableMutex());
    TableInForce() = std::move(table);
}

char DriveLetterOf(std::string_view designation) {
    if (designation.empty()) return 0;
    int i = IndexOf(designation[0]);
    return i < 0 ? 0 : static_cast<char>('A' + i);
}

std::optional<DrivePathNames> SplitDrivePath(std::string_view drivePath) {
    if (drivePath.size() < 2 || drivePath[1] != ':') return std::nullopt;
    DrivePathNames parts;
    parts.letter = DriveLetterOf(drivePath);
    if (parts.letter == 0 || !Drives().IsMapped(parts.letter)) return std::nullopt;

    std::string_view rest = drivePath.substr(2);
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        std::size_t end = rest.find_first_of("\\/", pos);
        if (end == std::string_view::npos) end = rest.size();
        std::string_view part = rest.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.names.empty()) return std::nullopt;
            parts.names.pop_back();
            continue;
        }
        parts.names.emplace_back(part);
    }
    return parts;
}

std::optional<std::string> ToNativePath(std::string_view drivePath) {
    auto parts = SplitDrivePath(drivePath);
    if (!parts) return std::nullopt;
    std::string native = Drives().Root(parts->letter);
    for (const auto& name : parts->names) {
        native = JoinNative(native, name);
    }
    return native;
}

std::optional<std::string> ToDrivePath(std::string_view nativePath) {
    const DriveTable& table = Drives();
    char best = 0;
    std::size_t bestLength = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string& root = table.Root(letter);
        if (root.empty()) continue;
        // A root that ends in a separator ("/", "C:\") holds every path
        // that starts with it; any other holds itself and what lies below.
        const bool rootEndsInSeparator = root.back() == kNativeSeparator;
        bool below = nativePath.rfind(root, 0) == 0 &&
                     (rootEndsInSeparator || nativePath.size() == root.size() ||
                      nativePath[root.size()] == kNativeSeparator);
        if (below && (best == 0 || root.size() > bestLength)) {
            best = letter;
            bestLength = root.size();
        }
    }
    if (best == 0) return std::nullopt;
    const bool bestEndsInSeparator = table.Root(best).back() == kNativeSeparator;
    std::string rest(nativePath.substr(bestEndsInSeparator ? bestLength - 1 : bestLength));
    std::string drivePath = std::string(1, best) + ":";
    for (char c : rest) drivePath += (c == kNativeSeparator) ? '\\' : c;
    if (drivePath.size() == 2) drivePath += '\\';
    // Collapse doubled separators a trailing slash may leave.
    std::string collapsed;
    for (char c : drivePath) {
        if (c == '\\' && !collapsed.empty() && collapsed.back() == '\\') continue;
        collapsed += c;
    }
    return collapsed;
}

}  // namespace platform
