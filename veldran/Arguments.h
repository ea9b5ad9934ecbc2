// Reading the command line: the file name and the number of writes.
#pragma once

#include <cstddef>
#include <string_view>

namespace veldran {

constexpr int kMinWrites = 4;
constexpr int kMaxWrites = 18;
constexpr int kDefaultWrites = 4;

// The path buffer holds 127 bytes and a terminating zero.
constexpr std::size_t kMaxNameBytes = 127;

enum class NameCheck { kAccepted, kTooLong, kWildcard };

// Names are refused before anything is opened: too long ones would not fit
// the path buffer, and wildcards would make "the file" ambiguous.
NameCheck CheckFileName(std::string_view name);

// The number of writes from its argument (null when absent). Read like a C
// integer: leading blanks, an optional sign, digits up to the first other
// character, none giving 0. The result is clamped to kMinWrites..kMaxWrites.
int ReadWriteCount(const char* text);

}  // namespace veldran
