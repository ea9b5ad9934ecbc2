// How many files a listing or purge will go through, counted before it
// starts, so that the command line's progress can say "12 of 40 files".
// The count walks as the run walks: from the folder the run holds or
// names, into real subfolders on the same mount only, never through a
// link, leaving what the run leaves (WalkRules.h) and a wipe's excluded
// folders. Files added or removed meanwhile make it an estimate, which is
// all a progress line needs; it never acts on anything it finds.
#pragma once

#include <cstdint>
#include <string>

struct PurgeRun;

// `startFolder` is the drive path the run started from (the run value's
// own folder moves as the run goes down the tree).
std::int64_t CountFilesOfRun(const PurgeRun& run, const std::string& startFolder);
