// Opening a web address in the user's browser, for the links of the main
// window.
#pragma once

#include <string>

// Opens the address with the desktop's default handler. When nothing can
// open it, a message box titled "Cannot launch web browser" (exclamation
// icon, OK) gives the shell's error code and what to check; nothing else
// changes.
void LaunchWebBrowser(const std::string& address);
