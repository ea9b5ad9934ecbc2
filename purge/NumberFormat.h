// Numbers written for people: a fixed number of decimals and the digit
// grouping of the user's locale, as in sizes and counts of reports and the
// free-space and capacity sentences (1,234,567 and 5.000 in English).
//
// The user's locale is the one the environment names for numbers (LC_ALL,
// LC_NUMERIC, LANG). When that locale is C or POSIX (in any encoding), or
// cannot be loaded, numbers are grouped by threes with "," and use "." as
// the decimal mark: the C locale groups nothing, and a program run from a
// bare environment should still write counts a person can read.
#pragma once

#include <locale>
#include <optional>
#include <string>

struct NumberStyle {
    std::string thousandsSeparator = ",";  // UTF-8; empty when not grouping
    std::string decimalSeparator = ".";
    // Group sizes from the right, as std::numpunct gives them: "\3" groups
    // by threes, "\3\2" by three then twos; empty for no grouping.
    std::string grouping = "\3";
};

// The style of a locale, separators converted to UTF-8.
NumberStyle NumberStyleOf(const std::locale& locale);
// The style the environment asks for now (see above).
NumberStyle NumberStyleFromEnvironment();
// The style in force: NumberStyleFromEnvironment, read once.
const NumberStyle& UserNumberStyle();
// Tests put a fixed style in force; null goes back to the user's.
void SetNumberStyleForTesting(std::optional<NumberStyle> style);

// value with exactly `decimals` digits after the decimal mark (rounded half
// away from zero), a leading zero below 1, a minus sign when negative and
// the integer digits grouped. Zero is never written with a minus sign.
std::string FormatNumber(double value, int decimals, const NumberStyle& style);
// The same in the style in force.
std::string FormatNumber(double value, int decimals);
