// Pieces of drive-letter paths, and small edits of text.
#include <array>
#include <string_view>

#include "platform/FileSystem.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"

namespace {

std::size_t LastBackslash(const std::string& path) { return path.rfind('\\'); }

}  // namespace

void RemoveChars(std::string& text, const std::string& chars) {
    std::u32string unwanted = DecodeUtf8(chars);
    std::u32string kept;
    for (char32_t c : DecodeUtf8(text)) {
        if (unwanted.find(c) == std::u32string::npos) kept += c;
    }
    text = EncodeUtf8(kept);
}

std::string NormalizePathCase(const std::string& path) {
    std::u32string chars = DecodeUtf8(path);
    if (chars.size() < 2 || chars[1] != U':') return path;
    chars[0] = UpperCaseOf(chars[0]);
    return EncodeUtf8(chars);
}

std::string FolderOfPath(const std::string& path) {
    std::size_t k = LastBackslash(path);
    if (k == std::string::npos) return "";
    return NormalizePathCase(path.substr(0, k + 1));
}

std::string FileNameOfPath(const std::string& path, bool /*lowerCase*/) {
    std::size_t k = LastBackslash(path);
    if (k == std::string::npos) return "";
    return path.substr(k + 1);
}

std::string FileExtension(const std::string& path, bool lowerCase) {
    std::size_t k = LastBackslash(path);
    std::string name = k == std::string::npos ? path : path.substr(k + 1);
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return "";
    std::string extension = name.substr(dot + 1);
    return lowerCase ? LowerCase(extension) : extension;
}

std::string DriveDesignation(const std::string& text) {
    if (text.empty()) return "";
    std::u32string chars = DecodeUtf8(text);
    return EncodeUtf8(std::u32string(1, UpperCaseOf(chars[0]))) + ":";
}

void TrimTrailingBlanks(std::string& text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.pop_back();
}

std::string ShortenPath(const std::string& path, std::int32_t maxLength) {
    std::u32string chars = DecodeUtf8(path);
    if (static_cast<std::int64_t>(chars.size()) <= maxLength) return path;
    if (maxLength < 0) maxLength = 0;
    // Half of the maximum, a half rounded to the even neighbour.
    std::size_t half = static_cast<std::size_t>(maxLength / 2);
    if (maxLength % 2 != 0 && half % 2 != 0) ++half;

    std::u32string head = chars.substr(0, half);
    std::size_t k = head.rfind(U'\\');
    // A backslash among the first three characters would leave only the
    // drive: keep the whole head then.
    if (k == std::u32string::npos || k < 3)
        k = head.size();
    else
        ++k;
    head.resize(k);

    std::u32string tail = chars.substr(chars.size() - half);
    std::size_t m = tail.find(U'\\');
    if (m != std::u32string::npos) tail.erase(0, m);
    return EncodeUtf8(head + U"..." + tail);
}

bool FileIsPresent(const std::string& path) { return platform::Files().FileExists(path); }

bool IsMonitoredExtension(const std::string& path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    std::u32string extension = DecodeUtf8(path.substr(dot + 1));
    if (extension.size() != 3) return false;
    std::string upper = UpperCase(EncodeUtf8(extension));
    if (upper.rfind("XL", 0) == 0 || upper.rfind("OV", 0) == 0) return true;
    static const std::array<std::string_view, 21> kWatched = {
        "SHS", "RTF", "PPT", "MSO", "MDB", "DOT", "CPL", "CLA", "CBT", "ADT", "BAT",
        "INI", "SYS", "SCR", "EXE", "DRV", "DOC", "DLL", "COM", "BIN", "386"};
    for (auto watched : kWatched) {
        if (upper == watched) return true;
    }
    return false;
}
