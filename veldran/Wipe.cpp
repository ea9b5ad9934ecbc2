#include "veldran/Wipe.h"

#include <algorithm>

#include "veldran/PassData.h"
#include "veldran/Texts.h"

namespace veldran {

Result Wipe(const std::string& path, int writes, SeedGenerator& seeds, Console& console,
            FileSystem& files) {
    std::unique_ptr<WipeFile> file;
    for (int pass = 1; pass <= writes; ++pass) {
        console.Write(PassAnnouncement(pass));
        const int fill = pass == 1 ? 0x00 : pass == 2 ? 0xFF : seeds.NextPassSeed();
        if (pass == 1) {
            OpenError error = OpenError::kNone;
            file = files.Open(path, &error);
            if (!file) {
                return error == OpenError::kNotFound ? Result::kNotFound : Result::kCannotOpen;
            }
        }
        const Result result = OverwriteOnce(*file, fill, console);
        if (result != Result::kWiped) return result;
    }
    return file && file->Remove() ? Result::kWiped : Result::kCannotDelete;
}

Result OverwriteOnce(WipeFile& file, int fill, Console& console) {
    // Read anew each pass, as a file reopened for the pass would show it.
    const int64_t original = file.Length();
    if (original < 0) return Result::kCannotOpen;

    PassData data(fill);
    const int64_t units = (std::max<int64_t>(original, 1) + kRoundingBytes - 1) / kRoundingBytes;
    int64_t remaining = units * kRoundingBytes;
    int64_t written = 0;
    while (remaining > 0) {
        const auto size = static_cast<std::size_t>(std::min<int64_t>(remaining, kBlockBytes));
        const std::size_t done = file.Write(written, data.NextBlock(), size);
        written += static_cast<int64_t>(done);
        // Flushed even after a failed write: what did go out must reach the
        // disk before the file can be deleted, or the old data stays there.
        if (!file.Flush()) return Result::kFlushFailed;
        if (done < size) {
            // Running out of room while growing the file to the rounded
            // length is harmless, as every original byte was overwritten;
            // failing earlier leaves old data behind and must not pass.
            return written < original ? Result::kWriteFailed : Result::kWiped;
        }
        remaining -= static_cast<int64_t>(size);
        if (console.EscapePressed()) return Result::kEscapePressed;
    }
    return Result::kWiped;
}

}  // namespace veldran
