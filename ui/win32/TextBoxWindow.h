// A native edit box kept in step with a text box: the model counts UTF-8
// bytes, the edit box UTF-16 units, and a growing report travels to it only
// as its changed tail.
#pragma once

#include <string>
#include <utility>

#include "platform/win32/SystemHeaders.h"

namespace ui {

// Makes the edit box show `text`, knowing that it shows `shown` and that
// the two agree before byte `from` (0: replace everything). Afterwards
// `shown` is `text`.
void ShowTextFrom(HWND edit, std::string& shown, const std::string& text, std::size_t from);

// The edit box's selection in bytes of `shown`: start and length.
std::pair<int, int> SelectionInBytes(HWND edit, const std::string& shown);

// Selects `length` bytes of `shown` from `start` and scrolls the caret into
// view; a start at the end puts the caret after the last line.
void PlaceSelection(HWND edit, const std::string& shown, int start, int length);

}  // namespace ui
