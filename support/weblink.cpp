#include "support/weblink.h"

#include "platform/Shell.h"
#include "ui/Ui.h"

void LaunchWebBrowser(const std::string& address) {
    int result = platform::TheShell().OpenAddress(address);
    if (result == 0) return;
    ui::TheUi().MsgBox("Error launching web browser, error code = " + std::to_string(result) +
                           ".\r\n\r\n"
                           "Please make sure that your web browser is correctly installed,\r\n"
                           "that '.htm' files are associated with it, and that there is\r\n"
                           "sufficient memory available.",
                       ui::Buttons::OK, ui::Icon::Exclamation, "Cannot launch web browser");
}
