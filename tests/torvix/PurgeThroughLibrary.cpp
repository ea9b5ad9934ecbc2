// purge_through_library.exe path type delete [cluster]: purges one file
// through torvix.dll, loaded with LoadLibraryW from this program's folder as
// the purge program loads it, and exits with kz_purge_file's result. The
// forensic test under Wine runs it on a file of a loop-mounted image.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using PurgeFn = int32_t (*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t*);

namespace {

std::string Utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr || count < 4) return 100;
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetModuleFileNameW(nullptr, folder.data(), MAX_PATH));
    folder.resize(folder.find_last_of(L'\\') + 1);
    HMODULE library = LoadLibraryW((folder + L"torvix.dll").c_str());
    if (library == nullptr) return 101;
    auto purge = reinterpret_cast<PurgeFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "kz_purge_file")));
    if (purge == nullptr) return 102;
    int32_t cluster = count > 4 ? static_cast<int32_t>(std::wcstol(args[4], nullptr, 10)) : -1;
    int32_t seconds = 0;
    int32_t result = purge(Utf8(args[1]).c_str(), std::wcstol(args[2], nullptr, 10), 1,
                           std::wcstol(args[3], nullptr, 10), 1, cluster > 0 ? 1 : 0, cluster,
                           &seconds);
    return result;
}
