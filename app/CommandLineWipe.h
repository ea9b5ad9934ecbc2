// The command-line mode's disk wipe: purge --wipe D: [--exclude 'D:\folder']...
// [--keep-top-files] [--type 1|2|3] [--passes N] --yes runs the window's
// whole wipe unattended. The purge type and passes start as the next-run
// setup has them, as the window would; every question gets the answer that
// goes on and no speed test is offered. The report goes to standard output,
// messages to standard error.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class CommandLineUi;
class FormSet;
class ProgressLine;

struct WipeRequest {
    std::string drive;  // "D:"; empty: no wipe asked for
    std::vector<std::string> excluded;
    bool keepTopFiles = false;
    int type = 0;    // 1 to 3; 0: as the next-run setup has it
    int passes = 0;  // 0: as the setup has it for that type
};

// Takes the wipe's option at args[i] (and its value, moving i on); false
// when args[i] is none of them. problem is set when the option is malformed.
bool ParseWipeOption(const std::vector<std::string>& args, std::size_t& i, WipeRequest& request,
                     std::string& problem);

// Runs the wipe; the exit status as for --purge.
int RunWipe(const WipeRequest& request, bool yes, bool terminal, CommandLineUi& ui,
            FormSet& windows, ProgressLine& progress, std::ostream& out, std::ostream& err,
            std::istream& in);
