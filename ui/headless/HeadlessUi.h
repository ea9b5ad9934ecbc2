// The headless back end: no windows at all.
//
// Every message box and dialog is answered from a script that a test (or
// the command-line mode) sets up beforehand, and every box shown is recorded
// with its text, title, buttons and icon. A box that needs a choice but has
// no scripted answer is an error (UnscriptedQuestion), so no test ever waits
// on a question nobody answers. Modal forms are handed to a script that
// plays the user's part and must hide the form.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Ui.h"

namespace ui {

struct UnscriptedQuestion : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown by EndProgram, so that a test or the command-line mode can see the
// program end without the process ending.
struct ProgramEnded {
    int exitCode;
};

class HeadlessUi : public Ui {
  public:
    struct Box {
        std::string text;
        std::string title;
        Buttons buttons;
        Icon icon;
        Answer answer;
        int defaultButton;
    };

    // Queues the answer to the next message box that offers a choice.
    // Boxes with only an OK button are answered OK without a script.
    void AnswerNextBox(Answer answer) { boxAnswers_.push_back(answer); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    const Box& LastBox() const;
    void ClearBoxes() { boxes_.clear(); }

    // Queues the result of the next file dialog or folder browse (null: the
    // user cancelled).
    void AnswerNextFileDialog(std::optional<std::string> path) { files_.push_back(path); }
    void AnswerNextFolderBrowse(std::optional<std::string> path) { folders_.push_back(path); }
    // The options of every file dialog shown, in order.
    std::vector<FileDialogOptions> fileDialogs;
    // The folder each folder browse opened in, in order.
    std::vector<std::string> folderBrowseStarts;

    // The script that plays the user while the named form is shown modally.
    // It runs once per showing and must hide the form (a form left shown is
    // an error, since nobody else could close it).
    void OnModal(const std::string& formName, std::function<void(Form&)> script);
    // Called at every DoEvents, after due timers have ticked.
    std::function<void()> OnDoEvents;

    std::string clipboard;
    int beeps = 0;

    Answer MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                  int defaultButton = 1) override;
    void ShowModal(Form& form) override;
    void Show(Form& form) override;
    void Hide(Form& form) override;
    void Refresh(Form&) override {}
    void SetFocus(Control& control) override;
    void FormDestroyed(Form& form) override;
    std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> BrowseForFolder(const std::string& title,
                                               const std::string& initialFolder = "") override;
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    std::string ClipboardText() override { return clipboard; }
    void Beep() override { ++beeps; }
    // A desktop font of average width: 7 pixels a character, 17 a line.
    int TextWidth(const std::string& text, bool fixedPitch = false) override;
    int LineHeight(bool) override { return 255; }
    void DoEvents() override;
    [[noreturn]] void EndProgram(int exitCode) override { throw ProgramEnded{exitCode}; }

  private:
    std::optional<std::string> NextFile();

    std::deque<Answer> boxAnswers_;
    std::vector<Box> boxes_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::string>> folders_;
    std::map<std::string, std::function<void(Form&)>> modalScripts_;
    std::set<Form*> forms_;  // shown at some time: their timers tick in DoEvents
    std::map<const Control*, std::chrono::steady_clock::time_point> lastTicks_;
};

}  // namespace ui
