// The shell on Windows: the known application-data folder, and
// ShellExecuteW for addresses.
#include "platform/Shell.h"
#include "platform/win32/WideText.h"

#include <shellapi.h>
#include <shlobj.h>

namespace platform {
namespace {

// ShellExecuteW's 0 means the system ran out of memory or resources.
constexpr int kOutOfResources = 8;

class Win32Shell final : public Shell {
  public:
    std::optional<std::string> ApplicationDataFolder() override {
        wchar_t* path = nullptr;
        std::optional<std::string> folder;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path)) &&
            path != nullptr && *path != L'\0') {
            folder = Narrowed(path, std::char_traits<wchar_t>::length(path));
        }
        ::CoTaskMemFree(path);
        return folder;
    }

    int OpenAddress(const std::string& address) override {
        const std::wstring wide = Widened(address);
        const auto result = reinterpret_cast<INT_PTR>(
            ::ShellExecuteW(nullptr, nullptr, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (result > 32) return 0;
        return result == 0 ? kOutOfResources : static_cast<int>(result);
    }
};

}  // namespace

std::shared_ptr<Shell> MakeSystemShell() { return std::make_shared<Win32Shell>(); }

}  // namespace platform
