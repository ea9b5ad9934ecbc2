// The program text store: numbered texts read from one text file.
//
// File format: one text a line, "<number><TAB><text>", UTF-8, LF or CR LF line
// ends. Blank lines and lines starting with '#' are skipped. A text is at most
// kMaxTextCharacters characters (code points, so up to four times as many
// bytes); a file holds at most kMaxLines lines, which keeps every
// line number inside the result-code bands of lt().
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace torvix {

class TextStore {
  public:
    static constexpr std::size_t kMaxTextCharacters = 1024;
    static constexpr int kMaxLines = 500;
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

    // Replaces the store's texts with the file's; see lt() for the result.
    // Only a regular file is read: a FIFO, device or link there is -1 at once.
    int32_t Load(const std::string& path);
    // Parses file contents; the store is changed only when they are valid.
    int32_t Parse(std::string_view contents);

    // Null when the number has no text.
    const std::string* Find(int32_t number) const;

  private:
    std::map<int32_t, std::string> texts_;
};

TextStore& TheTextStore();

}  // namespace torvix
