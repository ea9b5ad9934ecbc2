// The console: text out, and the Escape key in.
#pragma once

#include <memory>
#include <string_view>

namespace veldran {

class Console {
  public:
    virtual ~Console() = default;

    // Shown at once, even without a line break.
    virtual void Write(std::string_view text) = 0;

    // Looks at the keyboard without waiting: true when the key waiting is
    // Escape. Any other key waiting is consumed and ignored.
    virtual bool EscapePressed() = 0;
};

// Standard output, and the keyboard of the terminal on standard input. When
// standard input is not a terminal, nothing is read from it. Keys are taken
// as they are pressed, without echo and without waiting for Enter; the
// terminal's settings are restored when the console is destroyed and when a
// signal ends or stops the program.
std::unique_ptr<Console> OpenNativeConsole();

}  // namespace veldran
