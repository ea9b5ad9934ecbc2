#include "torvix/text_store.h"

#include "torvix/small_file_reader.h"

namespace torvix {
namespace {

constexpr int32_t kNoText = 0;
constexpr int32_t kCannotOpen = -1;
constexpr int32_t kTooMuchText = -3;
constexpr int32_t kFileEmpty = -6;
constexpr int32_t kReadError = -7;

int32_t MissingStringAt(int line) { return -500 - line; }
int32_t StringTooLongAt(int line) { return -1000 - line; }
int32_t DuplicateAt(int line) { return -1500 - line; }

// True when every byte sequence is well-formed UTF-8 and no control
// character other than TAB, CR and LF appears.
bool IsText(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
            if (c == 0x7f) return false;
            ++i;
            continue;
        }
        int follow = (c >= 0xc2 && c <= 0xdf)   ? 1
                     : (c >= 0xe0 && c <= 0xef) ? 2
                     : (c >= 0xf0 && c <= 0xf4) ? 3
                                                : -1;
        if (follow < 0) return false;
        for (int k = 1; k <= follow; ++k) {
            if (i + k >= s.size()) return false;
            auto f = static_cast<unsigned char>(s[i + k]);
            if ((f & 0xc0) != 0x80) return false;
        }
        i += follow + 1;
    }
    return true;
}

// Code points of text already checked to be UTF-8: every byte but the
// continuation bytes starts one.
std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return count;
}

bool ParseNumber(std::string_view digits, int32_t& number) {
    if (digits.empty() || digits.size() > 9) return false;
    number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    return number > 0;
}

}  // namespace

int32_t TextStore::Load(const std::string& path) {
    std::string contents;
    switch (ReadSmallFile(path, kMaxFileBytes, &contents)) {
        case SmallFileRead::kRead:
            return Parse(contents);
        case SmallFileRead::kCannotOpen:
            return kCannotOpen;
        case SmallFileRead::kTooLarge:
            return kTooMuchText;
        case SmallFileRead::kReadError:
            break;
    }
    return kReadError;
}

int32_t TextStore::Parse(std::string_view contents) {
    if (contents.empty()) return kFileEmpty;
    if (!IsText(contents)) return kReadError;

    std::map<int32_t, std::string> texts;
    int line_number = 0;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t end = contents.find('\n', pos);
        if (end == std::string_view::npos) end = contents.size();
        std::string_view line = contents.substr(pos, end - pos);
        pos = end + 1;
        if (++line_number > kMaxLines) return kTooMuchText;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        std::size_t tab = line.find('\t');
        int32_t number = 0;
        if (!ParseNumber(line.substr(0, tab), number)) return MissingStringAt(line_number);
        if (tab == std::string_view::npos || tab + 1 == line.size()) {
            return MissingStringAt(line_number);
        }
        std::string_view text = line.substr(tab + 1);
        if (CharacterCount(text) > kMaxTextCharacters) return StringTooLongAt(line_number);
        if (!texts.emplace(number, std::string(text)).second) return DuplicateAt(line_number);
    }
    if (texts.empty()) return kNoText;
    texts_ = std::move(texts);
    return static_cast<int32_t>(texts_.size());
}

const std::string* TextStore::Find(int32_t number) const {
    auto it = texts_.find(number);
    return it == texts_.end() ? nullptr : &it->second;
}

TextStore& TheTextStore() {
    static TextStore store;
    return store;
}

}  // namespace torvix
