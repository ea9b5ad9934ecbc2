#include <vector>

#include "platform/NativePaths.h"
#include "platform/ProgramFolder.h"
#include "platform/win32/WideText.h"

namespace platform {

std::string RealProgramFolderNative() {
    // Long program paths do not fit MAX_PATH; the buffer grows until the
    // whole name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return "";
        if (length < buffer.size()) return NativeParent(Narrowed(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace platform
