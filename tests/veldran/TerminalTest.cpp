// The program on a terminal: keys are read as they are pressed, and the
// terminal is left as it was found.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "Helpers.h"

namespace veldran_test {
namespace {

// Runs the program on a pseudo-terminal and types `keys` once pass 1 has
// been announced.
class TerminalRun {
  public:
    TerminalRun(const std::string& folder, const std::string& name, const std::string& keys) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) ADD_FAILURE();
        const std::string slavePath = ptsname(master_);
        // Kept open to read the settings once the program has ended.
        slave_ = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
        tcgetattr(slave_, &before);
        child_ = fork();
        if (child_ == 0) {
            setsid();
            const int terminal = open(slavePath.c_str(), O_RDWR);
            ioctl(terminal, TIOCSCTTY, 0);
            for (int fd = 0; fd < 3; ++fd) dup2(terminal, fd);
            if (chdir(folder.c_str()) == 0)
                execl(VELDRAN_PROGRAM, VELDRAN_PROGRAM, name.c_str(), nullptr);
            _exit(122);
        }
        ReadUntil("1st overwrite");
        EXPECT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
        const int status = ReadUntilEnd();
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        tcgetattr(slave_, &after);
    }
    ~TerminalRun() {
        close(slave_);
        close(master_);
    }

    std::string output;
    int exitCode = -1;
    termios before{}, after{};

  private:
    // Reads what the program printed so far, without the carriage returns
    // the terminal adds to line ends; waits up to waitMs for the first byte.
    void ReadOutput(int waitMs) {
        pollfd ready{master_, POLLIN, 0};
        char buffer[4096];
        for (ssize_t count;
             poll(&ready, 1, waitMs) == 1 && (count = read(master_, buffer, sizeof buffer)) > 0;) {
            for (ssize_t i = 0; i < count; ++i) {
                if (buffer[i] != '\r') output += buffer[i];
            }
            waitMs = 0;
        }
    }

    bool TimedOut(const std::chrono::steady_clock::time_point& deadline) {
        if (std::chrono::steady_clock::now() < deadline) return false;
        kill(child_, SIGKILL);
        ADD_FAILURE() << "the program hangs; its output: " << output;
        return true;
    }

    void ReadUntil(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (output.find(text) == std::string::npos && !TimedOut(deadline)) ReadOutput(50);
    }

    // The program's wait status once it has ended, with all its output read.
    int ReadUntilEnd() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int status = 0;
        while (waitpid(child_, &status, WNOHANG) != child_) {
            if (TimedOut(deadline)) {
                waitpid(child_, &status, 0);
                break;
            }
            ReadOutput(50);
        }
        ReadOutput(0);
        return status;
    }

    int master_ = -1, slave_ = -1;
    pid_t child_ = -1;
};

TEST(VeldranTerminal, EscapeDuringThePassKeepsTheFile) {
    TempFolder folder;
    // Long enough that pass 1 is still running when the key arrives.
    const auto size = std::uintmax_t{256} << 20;
    WriteAll(folder.Path("swap"), "data");
    std::filesystem::resize_file(folder.Path("swap"), size);

    TerminalRun run(folder.path(), "swap", "\x1b");
    EXPECT_NE(run.output.find("\nEscape was pressed.  File not deleted.\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("2nd overwrite"), std::string::npos);
    EXPECT_EQ(run.exitCode, 251);
    EXPECT_EQ(std::filesystem::file_size(folder.Path("swap")), size);
    EXPECT_EQ(run.after.c_lflag, run.before.c_lflag);
}

TEST(VeldranTerminal, OtherKeysAreIgnored) {
    TempFolder folder;
    WriteAll(folder.Path("swap"), "data");
    std::filesystem::resize_file(folder.Path("swap"), 2 << 20);

    // A letter, then an arrow key, whose sequence starts with Escape.
    TerminalRun run(folder.path(), "swap", "x\x1b[A");
    EXPECT_NE(run.output.find("\nThe file swap has been wiped.\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.after.c_lflag, run.before.c_lflag);
}

}  // namespace
}  // namespace veldran_test
