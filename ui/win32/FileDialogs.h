// The system's open and save dialogs and its folder picker (the common item
// dialogs), as native paths.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/SystemHeaders.h"
#include "ui/Ui.h"

namespace ui {

// "Setup files (*.kzs)|*.kzs|All files|*.*" as pairs of a description and
// its patterns, blanks around them trimmed.
std::vector<std::pair<std::wstring, std::wstring>> FilterEntries(const std::string& filter);

// The chosen file or folder as a native path; null when the user cancelled
// or the dialog could not be shown. `startFolder` is native ("" for the
// dialog's own choice).
std::optional<std::string> AskForFile(HWND owner, bool save, const FileDialogOptions& options,
                                      const std::string& startFolder);
std::optional<std::string> AskForFolder(HWND owner, const std::string& title,
                                        const std::string& startFolder);

}  // namespace ui
