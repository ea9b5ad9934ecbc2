#include <windows.h>

#include <string>

#include "veldran/Console.h"

namespace veldran {
namespace {

// Text is UTF-8. A real console gets it as UTF-16, so every name shows as
// it is; a pipe or file gets the bytes.
class Win32Console final : public Console {
  public:
    Win32Console()
        : output_(GetStdHandle(STD_OUTPUT_HANDLE)), input_(GetStdHandle(STD_INPUT_HANDLE)) {
        DWORD mode = 0;
        outputIsConsole_ = GetConsoleMode(output_, &mode) != 0;
        inputIsConsole_ = GetConsoleMode(input_, &mode) != 0;
    }

    void Write(std::string_view text) override {
        if (text.empty()) return;
        if (outputIsConsole_) {
            int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(length), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                wide.data(), length);
            DWORD written = 0;
            WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
            return;
        }
        DWORD written = 0;
        WriteFile(output_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    // Reads the console's waiting input events without waiting for more:
    // a key pressed down that is Escape answers true; every other event
    // (other keys, the mouse, resizing) is taken and ignored.
    bool EscapePressed() override {
        if (!inputIsConsole_) return false;
        for (;;) {
            DWORD waiting = 0;
            if (!GetNumberOfConsoleInputEvents(input_, &waiting) || waiting == 0) return false;
            INPUT_RECORD event;
            DWORD read = 0;
            if (!ReadConsoleInputW(input_, &event, 1, &read) || read == 0) return false;
            if (event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown &&
                event.Event.KeyEvent.wVirtualKeyCode == VK_ESCAPE)
                return true;
        }
    }

  private:
    HANDLE output_;
    HANDLE input_;
    bool outputIsConsole_ = false;
    bool inputIsConsole_ = false;
};

}  // namespace

std::unique_ptr<Console> OpenNativeConsole() { return std::make_unique<Win32Console>(); }

}  // namespace veldran
