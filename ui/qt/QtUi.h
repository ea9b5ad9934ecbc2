// The Qt Widgets back end: each form gets a real window, drawn from its
// controls at 15 twips per pixel, and every service of the windowing
// interface is the desktop's own (message boxes, file dialogs, clipboard).
#pragma once

#include <map>
#include <memory>

#include "ui/Ui.h"

class QApplication;

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
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    void Beep() override;
    int TextWidth(const std::string& text, bool fixedPitch = false) override;
    int LineHeight(bool fixedPitch = false) override;
    void DoEvents() override;
    [[noreturn]] void EndProgram(int exitCode) override;

    // The window of a form, made on first use (tests look into it).
    FormView& ViewOf(Form& form);

  private:
    // Puts the keyboard focus where the form says it is.
    static void GiveFocus(Form& form, FormView& view);

    QApplication& app_;
    std::map<Form*, std::unique_ptr<FormView>> views_;
};

}  // namespace ui
