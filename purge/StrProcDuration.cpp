// Durations written as words, for estimates and run summaries.
#include <string>

#include "purge/StrProc.h"

namespace {

std::string Count(std::int32_t n, const char* unit, bool longForm, const char* shortUnit) {
    if (!longForm) return std::to_string(n) + shortUnit;
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
}

std::string TrimBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string FormatMinutes(std::int32_t minutes, bool longForm) {
    std::string text;
    std::int32_t days = 0;
    std::int32_t hours = 0;
    if (minutes >= 1440) {
        days = minutes / 1440;
        minutes %= 1440;
        text += Count(days, "day", longForm, "d ");
    }
    if (minutes >= 60) {
        if (longForm && days >= 1) text += " and ";
        hours = minutes / 60;
        minutes %= 60;
        text += Count(hours, "hour", longForm, "h ");
    }
    if (minutes > 0) {
        if (longForm && (hours > 0 || days >= 1)) text += " and ";
        text += Count(minutes, "minute", longForm, "m ");
    }
    if (text.empty()) return longForm ? "0 minutes" : "0m";
    return longForm ? text : TrimBlanks(text);
}

std::string FormatSeconds(std::int32_t seconds, bool longForm, bool roundUp) {
    std::int32_t s = seconds % 60;
    std::int32_t m = seconds / 60;
    std::string secondsText = Count(s, "second", longForm, "s");
    if (m == 0) return secondsText;
    if (roundUp && seconds >= 1) {
        ++m;
        s = 0;
    }
    std::string text = FormatMinutes(m, longForm);
    if (s > 0) text += (longForm ? " and " : " ") + secondsText;
    return text;
}

std::string FormatSecondsRoundUp(std::int32_t seconds, bool longForm) {
    return FormatSeconds(seconds, longForm, true);
}
