// Everything the program prints. Scripts may read this output, so the
// wording stays as it is.
#pragma once

#include <string>
#include <string_view>

#include "veldran/Result.h"

namespace veldran {

// The banner and the usage, shown when no file name is given.
std::string UsageText();

std::string_view WildcardRefusal();
std::string NameTooLongRefusal();

// Printed before the first pass; no line break, each pass starts its own line.
std::string WritesAnnouncement(std::string_view name, int writes);

std::string PassAnnouncement(int pass);

std::string ResultMessage(Result result, std::string_view name);

}  // namespace veldran
