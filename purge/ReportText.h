// The text of a report: one growing string with a fixed capacity.
//
// A run appends a line or a few words at a time; appending is amortised
// constant time, so a report of 100,000 lines costs no more than its size.
// The capacity is a named limit (kReportCapacityBytes) that tests lower to
// reach the "report buffer full" handling without writing 64 MiB. Text is
// UTF-8 with CR LF line ends, exactly as the report window shows it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// Largest report, in bytes, that a run writes before it ends the report.
constexpr std::size_t kReportCapacityBytes = 64u * 1024u * 1024u;

// The capacity in force: kReportCapacityBytes unless a test set another.
std::size_t ReportCapacity();
// Tests set a small capacity; 0 restores kReportCapacityBytes.
void SetReportCapacityForTesting(std::size_t bytes);

class ReportText {
  public:
    // Thrown by Append when the text would take the report past its capacity;
    // nothing of the text is appended then.
    struct Full {};

    // Appends the text, or throws Full.
    void Append(std::string_view text);
    // Appends whatever the capacity: for the few closing lines of a report
    // whose capacity has been reached.
    void AppendAnyway(std::string_view text);

    // Removes the last `characters` characters (code points, never half of
    // one); all of it when it is shorter.
    void RemoveLastCharacters(std::size_t characters);
    // Removes the last `bytes` bytes of ASCII text the caller itself
    // appended (progress marks).
    void RemoveLastBytes(std::size_t bytes);
    // Cuts the text back to end just after the last occurrence of marker;
    // leaves it as it is when the marker does not occur.
    void CutAfterLast(std::string_view marker);
    // Removes trailing characters whose codes are 0 to 32.
    void TrimTrailingBlanks();

    void Clear() {
        text_.clear();
        unchanged_ = 0;
    }
    bool Empty() const { return text_.empty(); }
    std::size_t Size() const { return text_.size(); }
    const std::string& Text() const { return text_; }

    // How many leading bytes are as they were at the last MarkShown: what a
    // view of the text need not be sent again.
    std::size_t UnchangedSinceShown() const { return unchanged_; }
    void MarkShown() { unchanged_ = text_.size(); }

  private:
    void Shortened() { unchanged_ = std::min(unchanged_, text_.size()); }

    std::string text_;
    std::size_t unchanged_ = 0;
};
