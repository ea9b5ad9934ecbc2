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
// first pass that does not succeed. The file is opened once, after pass 1 is
// announced, and every pass writes through that open file, so that all of
// them reach the same file whatever happens to its name meanwhile. The file
// is deleted only after the last pass.
Result Wipe(const std::string& path, int writes, SeedGenerator& seeds, Console& console,
            FileSystem& files);

// One pass: overwrites the file from its first byte with `fill` (see
// PassData), up to its length now rounded up, flushing every block to the
// disk and polling for Escape between blocks.
Result OverwriteOnce(WipeFile& file, int fill, Console& console);

}  // namespace veldran
