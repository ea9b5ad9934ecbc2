// The folder that holds the running program, where the purge library and
// the program text file live beside it.
#pragma once

#include <string>

namespace platform {

// Native path of the program's folder, without a trailing separator.
std::string ProgramFolderNative();
// The folder of the running executable, whatever a test set.
std::string RealProgramFolderNative();

// Tests run the program's code from their own executables; this points the
// program at another folder. An empty path restores the real one.
void SetProgramFolderForTesting(const std::string& nativeFolder);

}  // namespace platform
