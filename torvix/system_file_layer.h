// The file layer of the platform being built: PosixFileLayer or
// Win32FileLayer, as SystemFileLayer, for the exports and for tests that
// wrap the real layer.
#pragma once

#if defined(_WIN32)
#include "torvix/win32_file_layer.h"
namespace torvix {
using SystemFileLayer = Win32FileLayer;
}
#else
#include "torvix/posix_file_layer.h"
namespace torvix {
using SystemFileLayer = PosixFileLayer;
}
#endif
