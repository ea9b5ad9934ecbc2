// The Win32 back end: each form gets a native window whose controls are the
// system's own (buttons, edit boxes, lists), sized by the monitor's DPI,
// and every service of the windowing interface is the system's: message
// boxes, the common item dialogs, the clipboard, the beep.
#pragma once

#include <map>
#include <memory>

#include "platform/win32/SystemHeaders.h"
#include "ui/Ui.h"

namespace ui {

class FormWindow;
class FontSet;

class Win32Ui : public Ui {
  public:
    Win32Ui();
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    Answer MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                  int defaultButton = 1) override;
    void ShowModal(Form& form) override;
    void Show(Form& form) override;
    void Hide(Form& form) override;
    void Refresh(Form& form) override;
    void SetFocus(Control& control) override;
    std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> BrowseForFolder(const std::string& title,
                                               const std::string& initialFolder = "") override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void Beep() override;
    int TextWidth(const std::string& text, bool fixedPitch = false) override;
    int LineHeight(bool fixedPitch = false) override;
    void DoEvents() override;
    void FormDestroyed(Form& form) override;
    [[noreturn]] void EndProgram(int exitCode) override;

    // Runs the program's message loop until the program quits; its exit code.
    int Run();
    // The window of a form, made on first use (tests look into it).
    FormWindow& WindowOf(Form& form);
    // One message, with the forms' keys taken first.
    static void Dispatch(MSG& message);

  private:
    // While a modal window or box is up, the other windows take no input.
    class ModalScope;
    // The window boxes and dialogs belong to: the active form's, if any.
    HWND ActiveFormWindow() const;
    template <typename Ask>
    std::optional<std::string> AskForPlace(const std::string& title, Ask ask);

    std::map<Form*, std::unique_ptr<FormWindow>> windows_;
    Form* mainForm_ = nullptr;            // the first form shown: the others stay above it
    std::unique_ptr<FontSet> measuring_;  // the fonts TextWidth measures in
    HWND clipboardOwner_ = nullptr;
    bool comStarted_ = false;
};

}  // namespace ui
