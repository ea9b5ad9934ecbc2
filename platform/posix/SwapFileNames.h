// The swap files that /proc/swaps lists, read from its text so that a name
// with blanks can be checked without a swap file of its own.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace platform {

// The names of the entries of type "file", with the kernel's octal escapes
// (a blank as \040) turned back into the characters they stand for.
std::vector<std::string> SwapFileNamesIn(std::istream& procSwaps);

}  // namespace platform
