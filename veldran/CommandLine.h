// The command line's arguments as UTF-8, whatever the platform hands over.
#pragma once

#include <string>
#include <vector>

namespace veldran {

// The arguments after the program's name. On POSIX they are argv as given;
// on Windows they come from the UTF-16 command line, since argv holds only
// what the ANSI code page can spell and a name it cannot spell could never
// be wiped.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace veldran
