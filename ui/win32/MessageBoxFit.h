// Puts the system's message box where the program wants it, while it is
// shown: the box alone would open in the middle of the screen rather than
// over the window that asks, cut a title longer than its text, and break
// the program's lines anew where it finds them too long.
//
// While a MessageBoxFit lives, the next message box of this thread is, as it
// opens, widened for its longest line (as the text breaks it) and for its
// whole title, then centred on `owner` and kept on the owner's monitor.
#pragma once

#include <string>

#include "platform/win32/SystemHeaders.h"

namespace ui {

class MessageBoxFit {
  public:
    MessageBoxFit(HWND owner, const std::string& text, const std::string& title);
    ~MessageBoxFit();
    MessageBoxFit(const MessageBoxFit&) = delete;
    MessageBoxFit& operator=(const MessageBoxFit&) = delete;

  private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam);
    void Fit(HWND box) const;

    HWND owner_;
    std::wstring text_;
    std::wstring title_;
    HHOOK hook_ = nullptr;
};

}  // namespace ui
