#include "app/CommandLineUi.h"

#include <ostream>
#include <sstream>

#include "app/frmConfirmFiles.h"
#include "purge/frmAntiVirusQuery.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmPurgeWarning.h"

void WriteWithLfLineEnds(std::ostream& out, const std::string& text) {
    std::size_t start = 0;
    for (std::size_t cr = text.find("\r\n"); cr != std::string::npos; cr = text.find("\r\n", start)) {
        out.write(text.data() + start, static_cast<std::streamsize>(cr - start));
        start = cr + 1;  // the LF stays
    }
    out.write(text.data() + start, static_cast<std::streamsize>(text.size() - start));
}

std::string WithLfLineEnds(const std::string& text) {
    std::ostringstream out;
    WriteWithLfLineEnds(out, text);
    return out.str();
}

CommandLineUi::CommandLineUi(std::ostream& err) : err_(err) {
    OnModal("frmPurgeConfirmation", [this](ui::Form& form) {
        auto& confirmation = static_cast<frmPurgeConfirmation&>(form);
        if (ConfirmPurge && ConfirmPurge(confirmation.lblMessage.Caption())) {
            confirmation.cmdDoPurge.RaiseClick();
        } else {
            purgeDeclined_ = true;
            confirmation.cmdCancel.RaiseClick();
        }
    });
    // Unattended, nobody can act on advice about file-monitoring software.
    OnModal("frmAntiVirusQuery",
            [](ui::Form& form) { static_cast<frmAntiVirusQuery&>(form).cmdNo.RaiseClick(); });
    OnModal("frmPurgeWarning",
            [](ui::Form& form) { static_cast<frmPurgeWarning&>(form).cmdOK.RaiseClick(); });
    // Refused before the run starts; should a run ask all the same, no file
    // is purged without a person's yes.
    OnModal("frmConfirmFiles",
            [](ui::Form& form) { static_cast<frmConfirmFiles&>(form).cmdStopPurge.RaiseClick(); });
}

ui::Answer CommandLineUi::MsgBox(const std::string& text, ui::Buttons buttons, ui::Icon icon,
                                 const std::string& title, int defaultButton) {
    ui::Answer answer = ui::Answer::Cancel;
    if (title == "List files") {
        answer = ui::Answer::Yes;  // "Display folder names?"
    } else if (title == "Purge query") {
        answer = ui::Answer::No;  // a sensitive extension the operation file does not allow
    } else if (buttons == ui::Buttons::OK) {
        answer = ui::Answer::OK;
        err_ << "purge: " << (title.empty() ? "" : title + ": ") << WithLfLineEnds(text) << '\n';
    }
    AnswerNextBox(answer);
    return HeadlessUi::MsgBox(text, buttons, icon, title, defaultButton);
}
