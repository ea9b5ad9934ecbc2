// Overwriting a file pass by pass, then deleting it.
#pragma once

#include <cstdint>
#include <string>

#include "veldran/Console.h"
#include "veldran/FileSystem.h"
#include "veldran/Generators.h"
#include "veldran/Result.h"

namespace veldran {

// Each pass covers the file rounded up to a multiple of this, so the slack
// after the last byte is overwritten too; an empty file gets one unit.
constexpr int64_t kRoundingBytes = 65536;

// Runs `writes` passes over the file: 0x00, then 0xFF, then random data, each
// seeded from `seeds`. Announces each pass on the console and stops at the
// first pass that does not succeed. The file is deleted only after the last.
Result Wipe(const std::string& path, int writes, SeedGenerator& seeds, Console& console,
            FileSystem& files);

// One pass: opens the file, overwrites it from its first byte with `fill`
// (see PassData), flushing every block to the disk and polling for Escape
// between blocks, and closes it.
Result OverwriteOnce(const std::string& path, int fill, Console& console, FileSystem& files);

}  // namespace veldran
