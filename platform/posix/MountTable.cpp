#include "platform/posix/MountTable.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace platform {
namespace {

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The kernel writes blank, tab, newline and backslash as octal escapes.
std::string Unescaped(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::optional<MountEntry> ParseLine(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields{std::istream_iterator<std::string>(in),
                                    std::istream_iterator<std::string>()};
    // id, parent, major:minor, root, mount point, options, optional
    // fields..., "-", type, source, super options.
    if (fields.size() < 9) return std::nullopt;
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (dash + 2 >= fields.size()) return std::nullopt;
    MountEntry entry;
    const std::string& dev = fields[2];
    std::size_t colon = dev.find(':');
    if (colon == std::string::npos) return std::nullopt;
    try {
        entry.id = std::stoull(fields[0]);
        entry.major = static_cast<unsigned>(std::stoul(dev.substr(0, colon)));
        entry.minor = static_cast<unsigned>(std::stoul(dev.substr(colon + 1)));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    entry.mountPoint = Unescaped(fields[4]);
    entry.type = fields[dash + 1];
    entry.source = Unescaped(fields[dash + 2]);
    return entry;
}

bool Holds(const std::string& mountPoint, std::string_view path) {
    if (mountPoint == "/") return !path.empty() && path.front() == '/';
    return path.substr(0, mountPoint.size()) == mountPoint &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    std::istringstream in{std::string(text)};
    std::string line;
    while (std::getline(in, line)) {
        if (auto entry = ParseLine(line)) entries.push_back(std::move(*entry));
    }
    return entries;
}

const MountEntry* MountHolding(const std::vector<MountEntry>& entries, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const auto& entry : entries) {
        if (!Holds(entry.mountPoint, path)) continue;
        if (best == nullptr || entry.mountPoint.size() >= best->mountPoint.size()) best = &entry;
    }
    return best;
}

std::vector<MountEntry> ReadMountTable() {
    std::ifstream in("/proc/self/mountinfo");
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ParseMountInfo(text);
}

}  // namespace platform
