// Reading and replacing a small file's whole contents by its name in an open
// folder, for the setup files, whether the folder was found by drive path
// or by native path. Neither follows a symbolic link or waits on a FIFO.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace platform {

// The contents of the regular file `name` in `folder`; null when it cannot
// be read, is no regular file, or is longer than maxBytes.
std::optional<std::string> ReadWholeFileAt(int folder, const std::string& name,
                                           std::size_t maxBytes);

// Writes the new contents beside the file, flushes them and renames them
// over it, so a failure leaves the old file whole. A read-only file, or an
// entry that is no regular file, is not replaced. A new file gets
// newFileMode; a replaced one keeps its mode unless keepMode is false.
bool ReplaceFileAt(int folder, const std::string& name, const std::string& contents,
                   mode_t newFileMode, bool keepMode = true);

}  // namespace platform
