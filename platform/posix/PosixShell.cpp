// The shell on POSIX: XDG folders, and xdg-open for addresses.
#include "platform/posix/PosixShell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace platform {
namespace {

constexpr int kFileNotFound = 2;
constexpr int kOutOfResources = 8;
constexpr int kNoAssociation = 31;
constexpr int kActionFailed = 4;

int ResultOfExit(int status) {
    if (!WIFEXITED(status)) return kActionFailed;
    switch (WEXITSTATUS(status)) {
        case 0:
            return 0;
        case 2:
            return kFileNotFound;
        case 3:
            return kNoAssociation;
        default:
            return WEXITSTATUS(status);
    }
}

class PosixShell final : public Shell {
  public:
    explicit PosixShell(std::chrono::milliseconds handOverWait) : handOverWait_(handOverWait) {}

    std::optional<std::string> ApplicationDataFolder() override {
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
        if (const char* home = std::getenv("HOME"); home && *home == '/') {
            return std::string(home) + "/.config";
        }
        return std::nullopt;
    }

    int OpenAddress(const std::string& address) override {
        // The address is one argument of its own: no shell sees it.
        const char* argv[] = {"xdg-open", address.c_str(), nullptr};
        // The opener and the browser it may start talk to no terminal and
        // hold none of the program's pipes open.
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        for (int fd : {0, 1, 2}) {
            ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null",
                                               fd == 0 ? O_RDONLY : O_WRONLY, 0);
        }
        pid_t pid = 0;
        int rc = ::posix_spawnp(&pid, "xdg-open", &actions, nullptr, const_cast<char* const*>(argv),
                                environ);
        ::posix_spawn_file_actions_destroy(&actions);
        if (rc == ENOENT || rc == EACCES) return kNoAssociation;
        if (rc != 0) return kOutOfResources;

        auto deadline = std::chrono::steady_clock::now() + handOverWait_;
        for (;;) {
            int status = 0;
            pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) return ResultOfExit(status);
            if (done < 0 && errno != EINTR) return kActionFailed;
            if (std::chrono::steady_clock::now() >= deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        return 0;
    }

  private:
    std::chrono::milliseconds handOverWait_;
};

}  // namespace

std::shared_ptr<Shell> MakePosixShell(std::chrono::milliseconds handOverWait) {
    return std::make_shared<PosixShell>(handOverWait);
}

std::shared_ptr<Shell> MakePosixShell() { return MakePosixShell(std::chrono::seconds(3)); }

std::shared_ptr<Shell> MakeSystemShell() { return MakePosixShell(); }

}  // namespace platform
