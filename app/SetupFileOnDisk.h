// Setup files where they lie: the next-run setup and an operation file
// given on the command line are named by a path of this system, wherever
// they lie; a file chosen in the window is named by drive path.
#pragma once

#include <string>

#include "app/SetupFile.h"

// The file at `path` as ReadSetup reads its contents; a file that cannot be
// read (missing, too long, no regular file) reads as an empty, incomplete one.
SetupRead ReadSetupFile(const std::string& path);

// Replaces the file at `path` with the record; false when it could not.
bool WriteSetupFile(const std::string& path, const SetupRecord& record);
