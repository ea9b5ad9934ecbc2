// <windows.h> for the program's Win32 files, without the macros that would
// rename the program's own functions of the same names (ReplaceFile).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef ReplaceFile
