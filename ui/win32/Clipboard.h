// Text on the system clipboard, in UTF-16 with CR LF line ends as other
// programs expect it.
#pragma once

#include <string>

#include "platform/win32/SystemHeaders.h"

namespace ui {

// `owner` is a window of the program: the clipboard takes data only from
// a program that owns it through a window.
bool PutOnClipboard(HWND owner, const std::string& text);
std::string TextOnClipboard(HWND owner);

}  // namespace ui
