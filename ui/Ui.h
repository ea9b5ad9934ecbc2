// The windowing services that forms use: modal and non-modal showing,
// message boxes, file and folder dialogs, clipboard, beep and "let pending
// events through".
//
// Two back ends implement it: Qt Widgets for real windows, and a headless
// one in which tests (and the command-line mode) answer every box and dialog
// from a script. Forms never see which one is in force, and include no Qt.
#pragma once

#include <optional>
#include <string>

namespace ui {

class Form;
class Control;

// Button sets of a message box.
enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
// Which button closed a message box.
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FileDialogOptions {
    std::string title;
    // Alternating descriptions and patterns: "Setup files (*.kzs)|*.kzs|All files (*.*)|*.*".
    std::string filter;
    std::string initialFolder;  // drive path
    std::string fileName;       // proposed name
    std::string defaultExtension;
};

class Ui {
  public:
    virtual ~Ui() = default;

    // Shows a modal message box; text lines are separated by CR LF. The
    // default button (the one Enter presses) is counted from 1.
    virtual Answer MsgBox(const std::string& text, Buttons buttons, Icon icon,
                          const std::string& title, int defaultButton = 1) = 0;

    // Shows the form and returns when it has been hidden again.
    virtual void ShowModal(Form& form) = 0;
    // Shows the form without waiting.
    virtual void Show(Form& form) = 0;
    virtual void Hide(Form& form) = 0;
    // Repaints the form now, outside the event loop.
    virtual void Refresh(Form& form) = 0;
    // Gives the keyboard focus to the control.
    virtual void SetFocus(Control& control) = 0;

    // The chosen file as a drive path; null when the user cancelled.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) = 0;
    // The chosen folder as a drive path; null when the user cancelled. The
    // browse opens in `initialFolder` (a drive path), else on the first drive.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title,
                                                       const std::string& initialFolder = "") = 0;

    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string ClipboardText() = 0;
    virtual void Beep() = 0;

    // Lets pending window events through (clicks, timer ticks) and returns.
    virtual void DoEvents() = 0;

    // The form is going away; the back end must not touch it again.
    virtual void FormDestroyed(Form&) {}

    // Width of a one-line text and the height of a line, in twips, in the
    // font the controls use (fixedPitch: the report's font). Forms lay
    // themselves out by these, so that no caption is cut off or covered at
    // whatever font size the desktop uses.
    virtual int TextWidth(const std::string& text, bool fixedPitch = false) = 0;
    virtual int LineHeight(bool fixedPitch = false) = 0;

    // Ends the program at once with the exit code.
    [[noreturn]] virtual void EndProgram(int exitCode) = 0;
};

// The back end in force.
Ui& TheUi();
// The back end in force, or null when there is none.
Ui* UiInForce();
void SetUi(Ui* ui);

}  // namespace ui
