#include <dlfcn.h>

#include "purge/SharedLibrary.h"
#include "purge/TorvixLibrary.h"

namespace torvix_binding {

const char* const kLibraryFileName = "libtorvix.so";

void* LoadSharedLibrary(const std::string& nativePath, std::string& why) {
    void* handle = ::dlopen(nativePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        why = error ? error : "cannot load " + nativePath;
    }
    return handle;
}

void* FindExport(void* library, const char* name) { return ::dlsym(library, name); }

}  // namespace torvix_binding
