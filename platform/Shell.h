// Services of the desktop shell: the user's application-data folder and
// opening an address in the desktop's browser.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // Native path of the user's application-data folder
    // ($XDG_CONFIG_HOME, else ~/.config); null when there is none.
    virtual std::optional<std::string> ApplicationDataFolder() = 0;
    // Opens the address with the desktop's default handler; 0 on success,
    // otherwise an error code to show the user.
    virtual int OpenAddress(const std::string& address) = 0;
};

Shell& TheShell();
void SetShellForTesting(std::shared_ptr<Shell> shell);

// This system's own implementation (POSIX or Win32).
std::shared_ptr<Shell> MakeSystemShell();
std::shared_ptr<Shell> MakePosixShell();

}  // namespace platform
