// The outcome of a wipe. The values are the program's exit codes, so they
// must not change.
#pragma once

namespace veldran {

enum class Result : int {
    kWiped = 0,
    kNotFound = -1,
    kCannotOpen = -2,
    // A write failed before the file's original bytes were all overwritten.
    kWriteFailed = -3,
    kFlushFailed = -4,
    kEscapePressed = -5,
    kCannotDelete = -6,
};

}  // namespace veldran
