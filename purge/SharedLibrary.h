// A shared library loaded at run time by its native path, and its exports
// looked up by name: dlopen and dlsym on POSIX, LoadLibraryW and
// GetProcAddress on Windows.
#pragma once

#include <string>

namespace torvix_binding {

// Loads the library at the native path once and keeps it for the life of
// the process; null with the loader's description in `why` on failure.
void* LoadSharedLibrary(const std::string& nativePath, std::string& why);

// The export `name` of a loaded library; null when it has none.
void* FindExport(void* library, const char* name);

}  // namespace torvix_binding
