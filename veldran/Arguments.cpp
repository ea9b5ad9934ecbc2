#include "veldran/Arguments.h"

#include <algorithm>

namespace veldran {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

NameCheck CheckFileName(std::string_view name) {
    if (name.size() > kMaxNameBytes) return NameCheck::kTooLong;
    if (name.find_first_of("*?") != std::string_view::npos) return NameCheck::kWildcard;
    return NameCheck::kAccepted;
}

int ReadWriteCount(const char* text) {
    if (text == nullptr) return kDefaultWrites;
    while (IsBlank(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Saturate instead of overflowing: any magnitude past the maximum clamps
    // to the same number of writes.
    int magnitude = 0;
    for (; IsDigit(*text); ++text) {
        magnitude = std::min(magnitude * 10 + (*text - '0'), kMaxWrites + 1);
    }
    return std::clamp(negative ? -magnitude : magnitude, kMinWrites, kMaxWrites);
}

}  // namespace veldran
