// The program's message box on Win32: a dialog window of its own rather
// than the system's, because the system's box re-breaks the program's lines
// as it sees fit, cuts a title longer than the text, and opens in the middle
// of the screen rather than over the window it asks about.
//
// The box shows the text with exactly its own line breaks, is wide enough
// for its longest line and for its whole title, stands centred on its owner
// (kept on the owner's monitor), and takes the focus on its default button.
// Enter presses the focused button, Escape and the close box answer Cancel,
// or OK in a box that only has OK; a box that offers neither (Yes/No,
// Abort/Retry/Ignore) must be answered with one of its own buttons.
#pragma once

#include <string>

#include "platform/win32/SystemHeaders.h"
#include "ui/Ui.h"

namespace ui {

struct MessageBoxRequest {
    std::string text;  // lines separated by CR LF
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    std::string title;
    int defaultButton = 1;  // counted from 1, in the order of the set
};

// Shows the box modally over `owner` (null: over the whole screen) and
// returns the answer; the box's way out when it could not be shown at all.
Answer ShowMessageBox(HWND owner, const MessageBoxRequest& request);

// Whether the window is a box that ShowMessageBox put up.
bool IsMessageBox(HWND window);

}  // namespace ui
