#include "purge/ReportText.h"

namespace {

std::size_t& CapacityInForce() {
    static std::size_t capacity = kReportCapacityBytes;
    return capacity;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t ReportCapacity() { return CapacityInForce(); }

void SetReportCapacityForTesting(std::size_t bytes) {
    CapacityInForce() = bytes == 0 ? kReportCapacityBytes : bytes;
}

void ReportText::Append(std::string_view text) {
    if (text.size() > ReportCapacity() || text_.size() > ReportCapacity() - text.size()) {
        throw Full{};
    }
    // The whole capacity at once: the system gives memory to the pages only
    // as the report reaches them, and the text is never copied to grow.
    if (text_.capacity() < ReportCapacity()) text_.reserve(ReportCapacity());
    text_.append(text);
}

void ReportText::AppendAnyway(std::string_view text) { text_.append(text); }

void ReportText::RemoveLastCharacters(std::size_t characters) {
    std::size_t end = text_.size();
    while (characters > 0 && end > 0) {
        --end;
        // Step back over the continuation bytes to the start of the character.
        while (end > 0 && IsContinuationByte(text_[end])) --end;
        --characters;
    }
    text_.resize(end);
    Shortened();
}

void ReportText::RemoveLastBytes(std::size_t bytes) {
    text_.resize(bytes >= text_.size() ? 0 : text_.size() - bytes);
    Shortened();
}

void ReportText::CutAfterLast(std::string_view marker) {
    std::size_t at = text_.rfind(marker);
    if (at != std::string::npos) text_.resize(at + marker.size());
    Shortened();
}

void ReportText::TrimTrailingBlanks() {
    while (!text_.empty() && static_cast<unsigned char>(text_.back()) <= 32) text_.pop_back();
    Shortened();
}
