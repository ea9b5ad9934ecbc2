// The Qt Widgets back end: each form gets a real window, drawn from its
// controls at 15 twips per pixel, and every service of the windowing
// interface is the desktop's own (message boxes, file dialogs, clipboard).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "ui/Ui.h"

class QApplication;
class QWidget;

namespace ui {

class FormView;

class QtUi : public Ui {
  public:
    explicit QtUi(QApplication& app);
    ~QtUi() override;

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

    // The window of a form, made on first use (tests look into it).
    FormView& ViewOf(Form& form);

  private:
    // Puts the keyboard focus where the form says it is.
    static void GiveFocus(Form& form, FormView& view);
    // The window a form (null: a message box) opened now belongs to: for a
    // modal one the window shown last that is still up (a question stays in
    // front of what it asks about), for any other the main window. Null for
    // the main window itself.
    QWidget* OwnerFor(const Form* form, bool modal);
    // The form's window, made to belong to its owner and placed on the
    // owner's screen, ready to be shown.
    FormView& Prepare(Form& form, bool modal);
    void Shown(Form& form);

    QApplication& app_;
    std::map<Form*, std::unique_ptr<FormView>> views_;
    Form* mainForm_ = nullptr;       // the first form shown
    std::vector<Form*> shownOrder_;  // forms in the order they were last shown
};

}  // namespace ui
