// The date and time line that opens and closes a purge report: the date in
// the user's short date format (their locale's, as LC_TIME names it), ", ",
// and the time as hh:mm:ss on the 24-hour clock.
#pragma once

#include <string>

std::string ShortDateAndTime();
