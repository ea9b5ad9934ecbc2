// The shell on POSIX: XDG folders, and xdg-open for addresses.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

#include "platform/Shell.h"

extern char** environ;

namespace platform {
namespace {

class PosixShell final : public Shell {
public:
    std::optional<std::string> ApplicationDataFolder() override {
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
        if (const char* home = std::getenv("HOME"); home && *home == '/') {
            return std::string(home) + "/.config";
        }
        return std::nullopt;
    }

    int OpenAddress(const std::string& address) override {
        const char* argv[] = {"xdg-open", address.c_str(), nullptr};
        pid_t pid = 0;
        int rc = ::posix_spawnp(&pid, "xdg-open", nullptr, nullptr,
                                const_cast<char* const*>(argv), environ);
        if (rc != 0) return rc;
        int status = 0;
        if (::waitpid(pid, &status, 0) < 0) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

}  // namespace

std::shared_ptr<Shell> MakePosixShell() { return std::make_shared<PosixShell>(); }

}  // namespace platform
