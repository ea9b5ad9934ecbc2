#include "purge/RunDate.h"

#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {

std::locale UserTimeLocale() {
    try {
        return std::locale(std::locale::classic(), std::locale(""), std::locale::time);
    } catch (const std::runtime_error&) {
        // An environment naming a locale that is not installed.
        return std::locale::classic();
    }
}

}  // namespace

std::string ShortDateAndTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream text;
    text.imbue(UserTimeLocale());
    text << std::put_time(&local, "%x") << ", ";
    text.imbue(std::locale::classic());
    text << std::put_time(&local, "%H:%M:%S");
    return text.str();
}
