#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "veldran/Console.h"

namespace veldran {
namespace {

constexpr char kEscape = 27;

// The settings the terminal had at start. Signal handlers restore them, so
// they live outside the console object.
termios g_original;
volatile sig_atomic_t g_keyMode = 0;

constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

void SetHandler(int number, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

void RestoreTerminal() {
    if (g_keyMode) {
        tcsetattr(STDIN_FILENO, TCSANOW, &g_original);
        g_keyMode = 0;
    }
}

// Puts the terminal back, then lets the signal take its default course once
// the handler returns. After a stop (Ctrl+Z) the next poll sets key mode
// and the handler up again.
void OnSignal(int number) {
    RestoreTerminal();
    SetHandler(number, SIG_DFL);
    raise(number);
}

// A key that sends an escape sequence (arrows, function keys) starts with the
// Escape character too, followed at once by '[' or 'O': it is not Escape.
bool HoldsEscapeKey(const char* keys, ssize_t count) {
    for (ssize_t i = 0; i < count; ++i) {
        if (keys[i] != kEscape) continue;
        if (i + 1 < count && (keys[i + 1] == '[' || keys[i + 1] == 'O')) continue;
        return true;
    }
    return false;
}

class PosixConsole final : public Console {
  public:
    PosixConsole() {
        terminal_ = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &g_original) == 0;
        // Set up at once, so that keys pressed before the first poll are not
        // echoed or held back until Enter.
        EnterKeyMode();
    }

    ~PosixConsole() override { RestoreTerminal(); }

    void Write(std::string_view text) override {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }

    bool EscapePressed() override {
        if (!EnterKeyMode()) return false;
        pollfd waiting{STDIN_FILENO, POLLIN, 0};
        if (poll(&waiting, 1, 0) != 1 || (waiting.revents & POLLIN) == 0) return false;
        char keys[64];
        const ssize_t count = read(STDIN_FILENO, keys, sizeof keys);
        return count > 0 && HoldsEscapeKey(keys, count);
    }

  private:
    // Only the terminal's foreground program may change or read it; a program
    // sent to the background would be stopped for trying, so it does neither.
    bool EnterKeyMode() {
        if (!terminal_ || tcgetpgrp(STDIN_FILENO) != getpgrp()) return false;
        if (g_keyMode) return true;
        termios keyMode = g_original;
        keyMode.c_lflag &= ~(ICANON | ECHO);
        keyMode.c_cc[VMIN] = 1;
        keyMode.c_cc[VTIME] = 0;
        // Marked first, so that a signal arriving now still restores.
        g_keyMode = 1;
        for (int number : kRestoringSignals) SetHandler(number, OnSignal);
        if (tcsetattr(STDIN_FILENO, TCSANOW, &keyMode) != 0) {
            g_keyMode = 0;
            return false;
        }
        return true;
    }

    bool terminal_ = false;
};

}  // namespace

std::unique_ptr<Console> OpenNativeConsole() { return std::make_unique<PosixConsole>(); }

}  // namespace veldran
