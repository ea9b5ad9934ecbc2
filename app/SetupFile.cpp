#include "app/SetupFile.h"

#include <charconv>

#include "app/PurgeTypeChoice.h"

namespace {

// A line of text holds no control characters. Bytes above 127 may stand:
// folder and file names on POSIX are bytes, and need not be UTF-8.
bool IsTextLine(std::string_view line) {
    for (char c : line) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) return false;
    }
    return true;
}

std::optional<int> ParseNumber(std::string_view line) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    int value = 0;
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (line.empty() || error != std::errc() || end != line.data() + line.size()) return {};
    if (value < -32768 || value > 32767) return {};  // the file stores 16-bit numbers
    return value;
}

class LineReader {
  public:
    explicit LineReader(std::string_view contents) : rest_(contents) {}
    std::optional<std::string_view> Next() {
        if (rest_.empty()) return {};
        std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kMaxSetupLineBytes || !IsTextLine(line)) return {};
        return line;
    }

  private:
    std::string_view rest_;
};

bool IsFlag(int value) { return value == 0 || value == 1; }

}  // namespace

SetupRead ReadSetup(std::string_view contents) {
    SetupRead read;
    SetupRecord& r = read.record;
    LineReader lines(contents);
    auto text = [&](std::string& field) {
        auto line = lines.Next();
        if (line) field = std::string(*line);
        return line.has_value();
    };
    auto number = [&](int& field, auto valid) {
        auto line = lines.Next();
        auto value = line ? ParseNumber(*line) : std::nullopt;
        if (!value || !valid(*value)) return false;
        field = *value;
        return true;
    };

    // A purge type or pass count that is not on offer is still a number: the
    // options after it are read and applied, and the type falls back to the
    // defaults.
    auto anyNumber = [](int) { return true; };
    bool ok = text(r.strVersion) && number(r.subfolderFlag, IsFlag) &&
              number(r.confirmationFlag, IsFlag) && text(r.folder) && text(r.fileSpec) &&
              number(r.purgeType, anyNumber) && number(r.passes, anyNumber);
    for (int i = 0; ok && i < SetupRecord::kNumOptions; ++i) {
        int value = 0;
        ok = number(value, IsFlag);
        if (ok) r.options[i] = value;
    }
    const bool typeOffered = IsOffered({r.purgeType, r.passes});
    if (ok && !typeOffered) {
        r.purgeType = SetupRecord{}.purgeType;
        r.passes = SetupRecord{}.passes;
    }
    if (ok) {
        read.complete = true;
        return read;
    }
    // What a failed read leaves: the defaults, and the options it reached.
    auto options = r.options;
    r = SetupRecord{};
    r.options = options;
    return read;
}

std::string SetupNumber(int value) {
    return (value < 0 ? "-" : " ") + std::to_string(value < 0 ? -value : value) + " ";
}

std::string WriteSetup(const SetupRecord& r) {
    const char* const kCrLf = "\r\n";
    std::string file;
    file += r.strVersion + kCrLf;
    file += SetupNumber(r.subfolderFlag) + kCrLf;
    file += SetupNumber(r.confirmationFlag) + kCrLf;
    file += r.folder + kCrLf;
    file += r.fileSpec + kCrLf;
    file += SetupNumber(r.purgeType) + kCrLf;
    file += SetupNumber(r.passes) + kCrLf;
    for (const auto& option : r.options) file += SetupNumber(option.value_or(0)) + kCrLf;
    return file;
}
