#include "app/CommandLine.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>

#include "app/CommandLineHosts.h"
#include "app/CommandLinePaths.h"
#include "app/CommandLineProgress.h"
#include "app/CommandLineSelection.h"
#include "app/CommandLineUi.h"
#include "app/CommandLineWipe.h"
#include "app/Forms.h"
#include "app/MainWindowHosts.h"
#include "app/PurgeTypeChoice.h"
#include "app/SetupFile.h"
#include "app/SetupFileOnDisk.h"
#include "app/frmMain.h"
#include "disk/DiskProc.h"
#include "disk/FillLeftovers.h"
#include "disk/PurgeSpeedTest.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/StopSignals.h"
#include "purge/SharedLibrary.h"
#include "purge/StrProc.h"
#include "purge/TorvixLibrary.h"
#include "purge/UnicodeText.h"
#include "purge/frmReport.h"
#include "support/NativeFiles.h"
#include "support/ProgramText.h"

namespace {

const char* const kHelp =
    "Usage: purge --list FILE.kzs\n"
    "       purge --purge FILE.kzs [--yes]\n"
    "       purge --test-speed DRIVE [--list FILE.kzs]\n"
    "       purge --wipe DRIVE [--exclude FOLDER]... [--keep-top-files]\n"
    "             [--type 1|2|3] [--passes N] [--yes]\n"
    "       purge --list-files PATH... [--subfolders] [--spec PATTERN]\n"
    "       purge --purge-files PATH... [--subfolders] [--spec PATTERN]\n"
    "             [--type 1|2|3] [--passes N] [--slack] [--cluster BYTES]\n"
    "             [--keep-files] [--read-only] [--sensitive]\n"
    "             [--delete-empty-folders] [--folder-names-only] [--yes]\n"
    "       purge --save FILE.kzs PATH [the options of --purge-files]\n"
    "       purge --help | --version\n"
    "\n"
    "Without arguments purge opens its window. With these it runs an operation\n"
    "file, saved from the window with \"Save setup as operation file\", without\n"
    "a window or a display:\n"
    "\n"
    "  --list FILE.kzs   list the files the operation selects, with their sizes\n"
    "                    and an estimate of the purge time\n"
    "  --purge FILE.kzs  purge them, with the purge type and the options stored\n"
    "                    in the file; asks once on the terminal first\n"
    "  --yes             purge without asking (needed when there is no terminal)\n"
    "  --quiet           show no progress on standard error (shown only when it\n"
    "                    is a terminal)\n"
    "  --test-speed C:   write a 1 MB test file to the root of drive C:, purge it\n"
    "                    with the default purge type and print the speed for one\n"
    "                    overwrite; a --list given with it estimates with it\n"
    "  --wipe D:         wipe drive D: fill its free space with dummy files, then\n"
    "                    purge every file on it, the dummy files included, and\n"
    "                    remove the emptied folders; asks once on the terminal\n"
    "                    first (--yes: without asking); no speed test is offered\n"
    "  --exclude 'D:\\keep'  leave this folder and its subfolders alone (up to 100;\n"
    "                    each must exist)\n"
    "  --keep-top-files  leave the files at the top level of the drive alone\n"
    "  --type, --passes  the purge type (1, 2, 3) and its passes; without them\n"
    "                    those of the next-run setup, as the window starts with\n"
    "\n"
    "Files and folders named on the command line, without an operation file:\n"
    "\n"
    "  --list-files PATH...   list them as --list does\n"
    "  --purge-files PATH...  purge them as --purge does; each PATH is one run with\n"
    "                    its own report, in the order given (after --, every\n"
    "                    argument is a PATH, also one that starts with -)\n"
    "  --save FILE.kzs PATH   write the operation file the window would save for\n"
    "                    this selection and these options (replaces an existing\n"
    "                    file only with --yes); nothing is purged\n"
    "  PATH              a file (exactly that file) or a folder (its files that\n"
    "                    match the pattern); a path of this system or a drive path\n"
    "  --subfolders      with a folder: also the files in all its subfolders\n"
    "  --spec PATTERN    with a folder: the files to select, such as '*.doc' or\n"
    "                    'a*.d*' (default *.*)\n"
    "  --type 1|2|3      the purge type: 1 random bytes, 2 alternate bit patterns,\n"
    "                    3 both (default 3)\n"
    "  --passes N        its passes: 1 to 9 (type 3: 1 to 6); default 9, 6 or 3\n"
    "  --slack           also purge the slack behind each file's end\n"
    "  --cluster BYTES   the cluster size for --slack: 512, 1024, ... 65536\n"
    "                    (default: the drive's)\n"
    "  --keep-files      do not delete the purged files\n"
    "  --read-only       also purge read-only files\n"
    "  --sensitive       also purge sensitive files (exe, dll, doc, ...)\n"
    "  --delete-empty-folders  with --subfolders: remove the folders emptied\n"
    "  --folder-names-only     with --subfolders: only folder names in the report\n"
    "A PATH that is missing, a symbolic link, a FIFO or a device, that lies behind\n"
    "a link or on no drive is refused with exit status 2 before anything is done.\n"
    "\n"
    "  --version         show the version of purge and of its purge library\n"
    "  --help            show this text\n"
    "\n"
    "FILE.kzs is a path of this system, or a drive path such as C:\\ops\\a.kzs;\n"
    "it is read wherever it lies. The folder it names must be on a drive: drive\n"
    "letters map to folders as KESTRANE_DRIVES says (\"C=/;D=/mnt/data\").\n"
    "\n"
    "The report is printed on standard output exactly as the window shows it;\n"
    "messages go to standard error. No question is put during the run: files\n"
    "with a sensitive extension (exe, dll, sys, ...) are purged only when the\n"
    "file allows sensitive files, and an operation file that confirms each\n"
    "file cannot be purged unattended. Symbolic links are never followed,\n"
    "FIFOs and devices never opened, and other file systems never entered.\n"
    "\n"
    "Exit status: 0 every matching file was listed or purged; 1 some were not;\n"
    "2 bad arguments, an unreadable operation file, or a run that cannot be\n"
    "done unattended; 3 the run was stopped or cancelled (also by Ctrl+C, SIGTERM\n"
    "or SIGHUP, which finish the file under way and print the report).\n"
    "--test-speed exits 0 with a measured speed, 1 when the test was refused or\n"
    "failed (the reason on standard error), 3 when a stop signal ended it (the\n"
    "test file is deleted).\n"
    "--wipe exits as --purge does; a drive that holds the running system or this\n"
    "program is refused with 2, before anything is written. A wipe that ends early\n"
    "deletes the dummy files it wrote.\n"
    "\n"
    "Dummy files left by a disk fill that was killed are listed on standard error\n"
    "at every start; --yes deletes them.\n";

// The purge library carries no version of its own: it is built and shipped
// with the program, so its file and whether it loads are what tell one
// installation from another.
void PrintVersion(std::ostream& out) {
    const std::string version = frmMain::ProgramVersion();
    const std::string library = torvix_binding::LibraryPath();
    std::string why;
    out << "purge " << version << "\n"
        << "purge library " << torvix_binding::kLibraryFileName << " " << version << ": "
        << VisibleText(library);
    if (torvix_binding::LoadSharedLibrary(library, why) == nullptr) {
        out << " (cannot be loaded: " << VisibleText(why) << ")";
    }
    out << "\n";
}

struct Request {
    enum class Mode { None, Help, Version, List, Purge } mode = Mode::None;
    std::string file;
    bool yes = false;
    bool quiet = false;
    std::string speedDrive;  // --test-speed
    WipeRequest wipe;        // --wipe and its options
    PathsRequest paths;      // --list-files, --purge-files, --save and their options
};

// The request, or the reason it is not one.
std::optional<Request> Parse(const std::vector<std::string>& args, std::string& problem) {
    Request request;
    const bool pathsVerb = NamesPathsVerb(args);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            request.mode = Request::Mode::Help;
            return request;
        }
        if (arg == "--version") {
            request.mode = Request::Mode::Version;
            return request;
        }
        if (pathsVerb && ParsePathsOption(args, i, request.paths, problem)) {
            if (!problem.empty()) return std::nullopt;
            continue;
        }
        if (arg == "--yes") {
            request.yes = true;
        } else if (arg == "--quiet") {
            request.quiet = true;
        } else if (arg == "--test-speed") {
            if (i + 1 >= args.size() || args[i + 1].empty() || !request.speedDrive.empty()) {
                problem = "--test-speed needs one drive, such as C:";
                return std::nullopt;
            }
            request.speedDrive = args[++i];
        } else if (arg == "--list" || arg == "--purge") {
            if (request.mode != Request::Mode::None) {
                problem = "give either --list or --purge, once";
                return std::nullopt;
            }
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                problem = arg + " needs an operation file";
                return std::nullopt;
            }
            request.mode = arg == "--list" ? Request::Mode::List : Request::Mode::Purge;
            request.file = args[++i];
        } else if (ParseWipeOption(args, i, request.wipe, problem)) {
            if (!problem.empty()) return std::nullopt;
        } else {
            problem = "unknown argument " + arg;
            return std::nullopt;
        }
    }
    if (pathsVerb) {
        if (request.mode != Request::Mode::None || !request.speedDrive.empty() ||
            !request.wipe.drive.empty() || request.wipe.keepTopFiles ||
            !request.wipe.excluded.empty()) {
            problem = "--list-files, --purge-files and --save go without --list, --purge, "
                      "--test-speed, --wipe and its options";
            return std::nullopt;
        }
        if (!CheckPathsRequest(request.paths, problem)) return std::nullopt;
        return request;
    }
    const bool wipeOptions = request.wipe.keepTopFiles || !request.wipe.excluded.empty() ||
                             request.wipe.type != 0 || request.wipe.passes != 0;
    if (request.wipe.drive.empty() ? wipeOptions
                                   : request.mode != Request::Mode::None ||
                                         !request.speedDrive.empty()) {
        problem = "--exclude, --keep-top-files, --type and --passes go with --wipe, alone";
        return std::nullopt;
    }
    if (request.mode == Request::Mode::None && request.speedDrive.empty() &&
        request.wipe.drive.empty()) {
        problem = "give --list or --purge with an operation file, or --test-speed";
        return std::nullopt;
    }
    return request;
}

// The operation file as the user named it: a drive path as it stands, any
// other path as this system's own, made absolute. It is read wherever it
// lies; only the folder it names must be on a drive.
std::string OperationFilePath(const std::string& file) {
    if (platform::DriveLetterOf(file) != 0 && file.size() >= 2 && file[1] == ':') return file;
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    if (ec) return "";
    return absolute.lexically_normal().string();
}

bool OperationFileIsPresent(const std::string& path) {
    return native_files::IsNativePath(path) ? native_files::FileExists(path) : FileIsPresent(path);
}

// Puts a back end and a set of windows in force for the run and steps back
// afterwards.
class Session {
  public:
    Session(std::ostream& err, bool showProgress) : ui_(err), progress_(err, showProgress) {
        try {
            previous_ = &ui::TheUi();
        } catch (const std::logic_error&) {
            previous_ = nullptr;
        }
        ui::SetUi(&ui_);
    }
    ~Session() { ui::SetUi(previous_); }
    CommandLineUi& Ui() { return ui_; }
    FormSet& Windows() { return forms_; }
    ProgressLine& Progress() { return progress_; }
    // The program's name, which titles a message box of no title of its own.
    std::string productName;
    // Measured by --test-speed, for the estimate of a --list given with it.
    DriveSpeeds speeds{};
    // The purge type, as the window starts with it until a setup names one,
    // and the purge confirmation's option boxes as the setup sets them.
    PurgeTypeChoice type;
    PurgeOptions optionBoxes;

  private:
    CommandLineUi ui_;
    ProgressLine progress_;
    ui::Ui* previous_;
    FormSet forms_;
};

// Dummy files of a fill that was killed keep a disk full: they are listed,
// and deleted with --yes.
void DealWithFillLeftovers(bool yes, std::ostream& err) {
    std::string warning;
    auto leftovers = FindFillLeftovers(&warning);
    if (!warning.empty()) err << "purge: " << warning << '\n';
    if (leftovers.empty()) return;
    err << "purge: a disk fill that did not finish left these dummy files behind:\n"
        << FillLeftoversList(leftovers, "\n") << '\n';
    if (!yes) {
        err << "purge: run purge with --yes to delete them\n";
        return;
    }
    auto kept = DeleteFillLeftovers(leftovers);
    for (const auto& path : kept) err << "purge: cannot delete " << VisibleText(path) << '\n';
    if (kept.empty()) err << "purge: deleted them\n";
}

// --test-speed: the window's speed test on the given drive, with yes for its
// question. A stop signal ends the writing of the test file and deletes it.
int TestSpeed(const std::string& drive, Session& session, std::ostream& out, std::ostream& err) {
    const std::string rest = drive.size() > 1 ? drive.substr(1) : "";
    if (!(rest.empty() || rest == ":" || rest == ":\\" || rest == ":/") || !DriveExists(drive)) {
        err << "purge: " << drive << " is no drive; map it in KESTRANE_DRIVES\n";
        return kExitBadRequest;
    }
    session.Ui().OnModal("frmSpecifyDrive", [](ui::Form& form) {
        static_cast<frmSpecifyDrive&>(form).cmdAccept.RaiseClick();
    });
    session.Ui().OnModal("frmFillDisk", [](ui::Form&) {});
    platform::StopSignals stopSignals;
    FormSet& windows = session.Windows();
    session.Ui().OnDoEvents = [&] {
        if (stopSignals.StopRequested()) windows.FillDisk().AbandonFill();
    };
    CommandLineSpeedTestHost host(windows, session.speeds);
    const PurgeSpeedTestRun run =
        SpeedTestRunOf(UpperCase(drive.substr(0, 1)) + ":", "", session.type);
    PurgeSpeedTestOutcome outcome = TestPurgeSpeed(run, host, {false, false});
    session.Ui().OnDoEvents = nullptr;
    if (stopSignals.StopRequested()) return kExitStopped;
    if (!outcome.measured) return kExitNotAllPurged;  // the reason went to standard error
    out << WithLfLineEnds(outcome.message) << '\n' << std::flush;
    return kExitDone;
}

// The operation file's setup, or nothing when it is no operation file.
std::optional<SetupRecord> ReadOperationFile(const std::string& path) {
    SetupRead read = ReadSetupFile(path);
    if (!read.complete) return std::nullopt;
    return read.record;
}

int RunSetup(const Request& request, bool purge, Selection& selection,
             const PurgeTypeChoice& type, const std::string& label, Session& session,
             std::ostream& out, std::ostream& err, std::istream& in, bool terminal);

int Run(const Request& request, Session& session, std::ostream& out, std::ostream& err,
        std::istream& in, bool terminal) {
    LoadProgramText("kz_text.dat");
    // What a run needs of the window's start-up; the next-run setup and its
    // folder play no part, since the operation file is the whole setup.
    session.productName = GetProgramText(1);
    session.Windows().SetStartupCompleted();
    DealWithFillLeftovers(request.yes, err);
    if (request.paths.verb != PathsRequest::Verb::None) {
        const bool purge = request.paths.verb == PathsRequest::Verb::Purge;
        const std::string saveFile =
            request.paths.saveFile.empty() ? "" : OperationFilePath(request.paths.saveFile);
        return RunPaths(
            request.paths, saveFile, request.yes, session.type, session.optionBoxes, err,
            [&](Selection& selection, const PurgeTypeChoice& type, const std::string& label) {
                return RunSetup(request, purge, selection, type, label, session, out, err, in,
                                terminal);
            });
    }
    if (!request.wipe.drive.empty()) {
        return RunWipe(request.wipe, request.yes, terminal, session.Ui(), session.Windows(),
                       session.Progress(), out, err, in);
    }
    if (!request.speedDrive.empty()) {
        int tested = TestSpeed(request.speedDrive, session, out, err);
        if (tested != kExitDone || request.mode == Request::Mode::None) return tested;
    }

    const std::string path = OperationFilePath(request.file);
    if (path.empty() || !OperationFileIsPresent(path)) {
        err << "purge: operation file " << request.file << " not found\n";
        return kExitBadRequest;
    }
    const std::optional<SetupRecord> setup = ReadOperationFile(path);
    if (!setup) {
        // The window's own message for a file that is no operation file.
        ui::TheUi().MsgBox("Error when attempting to load setup from file " + path + "!",
                           ui::Buttons::OK, ui::Icon::Exclamation, "Error");
        return kExitBadRequest;
    }
    Selection selection = SelectionOfSetup(*setup, session.type, session.optionBoxes);
    // A speed measured just now (--test-speed) is what the estimate uses.
    selection.sngPurgeSpeed = session.speeds;
    return RunSetup(request, request.mode == Request::Mode::Purge, selection, session.type,
                    request.file, session, out, err, in, terminal);
}

// Lists or purges the selection of a setup with its purge type, as loaded
// from an operation file or made for a PATH; `label` names it in messages.
int RunSetup(const Request& request, bool purge, Selection& selection,
             const PurgeTypeChoice& type, const std::string& label, Session& session,
             std::ostream& out, std::ostream& err, std::istream& in, bool terminal) {
    if (!selection.FilesSpecified()) {
        err << "purge: the operation file selects no files\n";
        return kExitBadRequest;
    }

    if (purge && selection.blnConfirmFiles) {
        err << "purge: " << label
            << " asks to confirm each file, which cannot be done unattended;\n"
               "save it from the window with \"Confirm files?\" set to No\n";
        return kExitBadRequest;
    }
    if (purge && !request.yes && !terminal) {
        err << "purge: no terminal to confirm the purge on; nothing purged (add --yes)\n";
        return kExitBadRequest;
    }
    session.Ui().ConfirmPurge = [&](const std::string& question) {
        if (request.yes) return true;
        out << WithLfLineEnds(question) << "\nPurge? [y/N] " << std::flush;
        std::string answer;
        if (!std::getline(in, answer)) return false;
        return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
    };

    // Ctrl+C, a kill or a closed terminal stop the run as the Stop button
    // would: the file under way is finished and the report still printed.
    frmReport& report = session.Windows().Report();
    platform::StopSignals stopSignals;
    session.Ui().OnDoEvents = [&] {
        if (stopSignals.StopRequested() && !report.blnStop) report.cmdStop_Click();
        session.Progress().Update(session.Windows());
    };
    if (purge) {
        PurgeSelection(selection, type, session.optionBoxes, session.Windows());
    } else {
        ListSelection(selection, type, session.Windows(), session.productName);
    }
    session.Ui().OnDoEvents = nullptr;
    session.Progress().Clear();

    if (session.Ui().PurgeDeclined()) return kExitStopped;
    if (report.ReportText().empty()) return kExitDone;  // nothing matched: said on stderr
    WriteWithLfLineEnds(out, report.ReportText());
    out << std::flush;
    if (report.blnStop) return kExitStopped;
    if (report.NumEntriesSkipped() > 0) return kExitNotAllPurged;
    if (purge && report.lngNumFilesPurged < report.NumFilesProcessed()) return kExitNotAllPurged;
    return kExitDone;
}

}  // namespace

bool IsCommandLineRequest(const std::vector<std::string>& args) {
    // The window's own options (Qt's) take one dash.
    if (!args.empty() && args[0].rfind("--", 0) == 0) return true;
    for (const auto& arg : args) {
        if (arg == "--list" || arg == "--purge" || arg == "--yes" || arg == "--help" ||
            arg == "-h" || arg == "--test-speed" || arg == "--wipe" || arg == "--version" ||
            arg == "--list-files" || arg == "--purge-files" || arg == "--save" ||
            arg == "--quiet") {
            return true;
        }
    }
    return false;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::istream& in, bool terminal, bool errIsTerminal) {
    std::string problem;
    std::optional<Request> request = Parse(args, problem);
    if (!request) {
        err << "purge: " << problem << "\nTry purge --help.\n";
        return kExitBadRequest;
    }
    if (request->mode == Request::Mode::Help) {
        out << kHelp;
        return kExitDone;
    }
    if (request->mode == Request::Mode::Version) {
        PrintVersion(out);
        return kExitDone;
    }
    Session session(err, errIsTerminal && !request->quiet);
    try {
        return Run(*request, session, out, err, in, terminal);
    } catch (const ui::ProgramEnded&) {
        // The program text could not be loaded; its message went to stderr.
        return kExitBadRequest;
    } catch (const ui::UnscriptedQuestion& question) {
        err << "purge: " << question.what() << "\n";
        return kExitStopped;
    }
}
