// UTF-8 to UTF-16 and back for the Win32 calls.
//
// Paths cross the library's interface as UTF-8, since the ANSI code page
// cannot hold every file name and a name it cannot hold could never be
// purged. Windows takes them as UTF-16.
#pragma once

#include <string>

namespace torvix {

// False for bytes that are not UTF-8: such a name is never guessed at.
bool Utf8ToWide(const std::string& text, std::wstring* wide);

}  // namespace torvix
