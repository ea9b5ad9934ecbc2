#include "platform/win32/WideText.h"
#include "purge/SharedLibrary.h"
#include "purge/TorvixLibrary.h"

namespace torvix_binding {

const char* const kLibraryFileName = "torvix.dll";

void* LoadSharedLibrary(const std::string& nativePath, std::string& why) {
    // By its full path, and what it needs from beside it, never from the
    // current folder.
    HMODULE module = ::LoadLibraryExW(platform::Widened(nativePath).c_str(), nullptr,
                                      LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        why = platform::Win32ErrorText(::GetLastError()) + ": " + nativePath;
    }
    return reinterpret_cast<void*>(module);
}

void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace torvix_binding
