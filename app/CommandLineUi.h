// The headless back end of the command-line mode: it answers every question
// of a run with its safe answer and passes every message to standard error.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "ui/headless/HeadlessUi.h"

class CommandLineUi : public ui::HeadlessUi {
  public:
    explicit CommandLineUi(std::ostream& err);

    // Decides the purge confirmation: true to purge.
    std::function<bool(const std::string& question)> ConfirmPurge;

    // The user declined the purge at its confirmation.
    bool PurgeDeclined() const { return purgeDeclined_; }

    ui::Answer MsgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                      const std::string& title, int defaultButton = 1) override;
    // A command line has no clipboard: the report goes to standard output,
    // and a second copy of a report of 200,000 lines would double its memory.
    void SetClipboardText(const std::string&) override {}

  private:
    std::ostream& err_;
    bool purgeDeclined_ = false;
};

// Text of the window's boxes and reports for a terminal: LF line ends.
std::string WithLfLineEnds(const std::string& text);
// Writes text with LF line ends without a copy of the whole of it.
void WriteWithLfLineEnds(std::ostream& out, const std::string& text);
