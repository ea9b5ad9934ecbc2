// The command-line mode of purge: the listing and the purge of an operation
// file (*.kzs), run without windows and without a display, for scripts.
//
//   purge --list FILE.kzs           lists the files with the purge-time estimate
//   purge --purge FILE.kzs [--yes]  purges them with the options of the file
//   purge --help                    explains the mode
//
// The run is the window's own run, driven headless: the report printed on
// standard output is the report the window would show, with LF line ends.
// Messages the window would show in boxes go to standard error. Every
// question of the run gets its safe answer: a sensitive extension that the
// operation file does not allow is not purged, no file-monitoring advice is
// shown, and an operation file that asks to confirm each file is refused.
// Without --yes the purge asks once on the terminal, showing the question
// of the purge confirmation; without a terminal it refuses.
//
// Exit status: kExitDone (0) every matching file was listed or purged;
// kExitNotAllPurged (1) some were not (refused, failed, skipped as links,
// FIFOs, other file systems, or vanished); kExitBadRequest (2) bad
// arguments, an unreadable operation file, or a run that cannot be done
// unattended; kExitStopped (3) the run was stopped or cancelled.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

constexpr int kExitDone = 0;
constexpr int kExitNotAllPurged = 1;
constexpr int kExitBadRequest = 2;
constexpr int kExitStopped = 3;

// True when the arguments (without the program name) ask for the
// command-line mode rather than the window: one of its options anywhere, or
// a first argument that starts with "--" (the window's options take one).
bool IsCommandLineRequest(const std::vector<std::string>& args);

// Runs the mode. `in` answers the confirmation when `terminal` is true.
// Progress is drawn on `err` when `errIsTerminal` and --quiet is not given.
// Puts a headless back end in force for the run; the drive table and the
// program folder are those in force.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::istream& in, bool terminal, bool errIsTerminal = false);
