#include "purge/NumberFormat.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "purge/UnicodeText.h"

namespace {

std::optional<NumberStyle>& StyleOverride() {
    static std::optional<NumberStyle> style;
    return style;
}

bool IsBareLocale(const std::string& name) {
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0 ||
           name.rfind("POSIX.", 0) == 0;
}

// Inserts separators into a string of digits, groups counted from the right.
std::string Grouped(std::string digits, const NumberStyle& style) {
    if (style.grouping.empty() || style.thousandsSeparator.empty()) return digits;
    std::size_t pos = digits.size();
    for (std::size_t g = 0;; ++g) {
        // The last size repeats; 0 or CHAR_MAX ends the grouping.
        int size = style.grouping[std::min(g, style.grouping.size() - 1)];
        if (size <= 0 || size == CHAR_MAX || static_cast<std::size_t>(size) >= pos) break;
        pos -= size;
        digits.insert(pos, style.thousandsSeparator);
    }
    return digits;
}

}  // namespace

NumberStyle NumberStyleFromEnvironment() {
    try {
        std::locale user("");
        // A name such as "LC_CTYPE=...;LC_NUMERIC=C;..." when the categories
        // differ: what counts is the numeric one.
        std::string name = user.name();
        if (auto at = name.find("LC_NUMERIC="); at != std::string::npos) {
            name = name.substr(at + 11, name.find(';', at) - (at + 11));
        }
        if (!IsBareLocale(name)) return NumberStyleOf(user);
    } catch (const std::runtime_error&) {
        // An environment naming a locale the system does not have.
    }
    return NumberStyle{};
}

NumberStyle NumberStyleOf(const std::locale& locale) {
    const auto& punct = std::use_facet<std::numpunct<wchar_t>>(locale);
    NumberStyle style;
    style.decimalSeparator =
        EncodeUtf8(std::u32string(1, static_cast<char32_t>(punct.decimal_point())));
    style.grouping = punct.grouping();
    style.thousandsSeparator =
        style.grouping.empty()
            ? std::string()
            : EncodeUtf8(std::u32string(1, static_cast<char32_t>(punct.thousands_sep())));
    return style;
}

const NumberStyle& UserNumberStyle() {
    if (StyleOverride()) return *StyleOverride();
    static const NumberStyle style = NumberStyleFromEnvironment();
    return style;
}

void SetNumberStyleForTesting(std::optional<NumberStyle> style) {
    StyleOverride() = std::move(style);
}

std::string FormatNumber(double value, int decimals, const NumberStyle& style) {
    decimals = std::clamp(decimals, 0, 20);
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    // Rounding the scaled value, not the binary fraction, so that a value
    // written as ...5 rounds up as a person expects.
    double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", scaled);
    std::string digits = buffer;
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    std::string integer = digits.substr(0, digits.size() - decimals);
    std::string text = Grouped(integer, style);
    if (decimals > 0) text += style.decimalSeparator + digits.substr(digits.size() - decimals);
    bool zero = digits.find_first_not_of('0') == std::string::npos;
    return (value < 0 && !zero) ? "-" + text : text;
}

std::string FormatNumber(double value, int decimals) {
    return FormatNumber(value, decimals, UserNumberStyle());
}
