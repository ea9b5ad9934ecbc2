#include <gtest/gtest.h>
#include <stdlib.h>

#include <locale>

#include "purge/NumberFormat.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

// A numeric punctuation as a locale of the user might give it.
class Punctuation : public std::numpunct<wchar_t> {
  public:
    Punctuation(wchar_t thousands, wchar_t decimal, std::string grouping)
        : thousands_(thousands), decimal_(decimal), grouping_(std::move(grouping)) {}

  protected:
    wchar_t do_thousands_sep() const override { return thousands_; }
    wchar_t do_decimal_point() const override { return decimal_; }
    std::string do_grouping() const override { return grouping_; }

  private:
    wchar_t thousands_;
    wchar_t decimal_;
    std::string grouping_;
};

NumberStyle StyleOf(wchar_t thousands, wchar_t decimal, std::string grouping) {
    return NumberStyleOf(std::locale(std::locale::classic(),
                                     new Punctuation(thousands, decimal, std::move(grouping))));
}

TEST(NumberFormat, EnglishGroupingAndDecimals) {
    const NumberStyle english;
    struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {0, 0, "0"},
        {999, 0, "999"},
        {1000, 0, "1,000"},
        {1234567, 0, "1,234,567"},
        {40000000000.0, 0, "40,000,000,000"},
        {5, 3, "5.000"},
        {0.931, 3, "0.931"},
        {0.0625, 3, "0.063"},  // a half rounds away from zero
        {2.5, 0, "3"},
        {1048575.0 / 1048576.0, 3, "1.000"},
        {-1234.5, 2, "-1,234.50"},
        {-0.0001, 3, "0.000"},  // no minus before a zero
        {123456.789, 1, "123,456.8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.decimals, english), c.expected) << c.value;
    }
}

TEST(NumberFormat, FollowsTheLocalesSeparatorsAndGroups) {
    NumberStyle german = StyleOf(L'.', L',', "\3");
    EXPECT_EQ(FormatNumber(1234567.891, 3, german), "1.234.567,891");

    NumberStyle indian = StyleOf(L',', L'.', "\3\2");
    EXPECT_EQ(FormatNumber(123456789, 0, indian), "12,34,56,789");

    // A separator beyond ASCII reaches the text as UTF-8.
    NumberStyle french = StyleOf(L'\u202F', L',', "\3");
    EXPECT_EQ(french.thousandsSeparator, "\xE2\x80\xAF");
    EXPECT_EQ(FormatNumber(5242880, 0, french),
              "5\xE2\x80\xAF"
              "242\xE2\x80\xAF"
              "880");

    // A locale that does not group writes the digits plainly.
    EXPECT_EQ(FormatNumber(1234567, 0, StyleOf(L',', L'.', "")), "1234567");
    // CHAR_MAX stops grouping after the first group.
    EXPECT_EQ(FormatNumber(1234567, 0, StyleOf(L',', L'.', std::string{3, CHAR_MAX})), "1234,567");
}

TEST(NumberFormat, BareOrUnknownEnvironmentGroupsByThrees) {
    const char* saved = std::getenv("LC_ALL");
    std::string savedValue = saved ? saved : "";
    for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
        testing_support::SetEnvironment("LC_ALL", name);
        NumberStyle style = NumberStyleFromEnvironment();
        EXPECT_EQ(FormatNumber(1234567.5, 1, style), "1,234,567.5") << name;
    }
    testing_support::SetEnvironment("LC_ALL", saved ? savedValue.c_str() : nullptr);
}

}  // namespace
