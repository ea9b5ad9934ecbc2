// Reading a small file that the program keeps beside itself, such as its
// texts, where someone may have put a FIFO, a device or a link instead.
//
// Only a regular file is read. The open never blocks and never follows a
// symbolic link, so a FIFO without a writer cannot hang start-up and a link
// cannot lead to another file.
#pragma once

#include <cstddef>
#include <string>

namespace torvix {

enum class SmallFileRead { kRead, kCannotOpen, kTooLarge, kReadError };

// Reads the whole file into *contents; more than maxBytes is kTooLarge.
SmallFileRead ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string* contents);

}  // namespace torvix
