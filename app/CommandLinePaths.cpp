#include "app/CommandLinePaths.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "app/CommandLine.h"
#include "app/CommandLineSelection.h"
#include "app/PathArgument.h"
#include "app/PurgeTypeChoice.h"
#include "app/SetupFile.h"
#include "app/SetupFileOnDisk.h"
#include "app/frmMain.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "purge/frmPurgeConfirmation.h"
#include "support/NativeFiles.h"

namespace {

// The check-box options, in the order a setup file stores them.
const std::array<const char*, SetupRecord::kNumOptions> kOptionNames = {
    "--slack",     "--keep-files",        "--read-only",
    "--sensitive", "--folder-names-only", "--delete-empty-folders"};

enum Option { kSlack, kKeepFiles, kReadOnly, kSensitive, kFolderNamesOnly, kDeleteEmptyFolders };

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& value) {
    if (i + 1 >= args.size() || args[i + 1].empty()) return false;
    value = args[++i];
    return true;
}

std::optional<int> TakeNumber(const std::vector<std::string>& args, std::size_t& i) {
    std::string text;
    if (!TakeValue(args, i, text) || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

bool IsVerb(const std::string& arg) {
    return arg == "--list-files" || arg == "--purge-files" || arg == "--save";
}

// A pattern names files of one folder: it may not name a folder, and the
// setup file must be able to store it on one line.
bool IsPattern(const std::string& spec) {
    if (spec.empty() || spec.size() > kMaxSetupLineBytes) return false;
    return std::none_of(spec.begin(), spec.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return c == '\\' || c == '/' || byte < 0x20 || byte == 0x7f;
    });
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The setup the window holds for the PATH and the options, as a setup file
// would store it.
SetupRecord SetupFor(const PathArgument& path, const PathsRequest& request) {
    SetupRecord record;
    record.strVersion = frmMain::ProgramVersion();
    record.subfolderFlag = request.subfolders ? 1 : 0;
    if (path.folder) {
        record.folder = path.drivePath.back() == '\\' ? path.drivePath : path.drivePath + "\\";
        record.fileSpec = request.spec.empty() ? "*.*" : request.spec;
    } else {
        record.folder = FolderOfPath(path.drivePath);
        record.fileSpec = FileNameOfPath(path.drivePath, false);
    }
    if (request.type > 0) {
        record.purgeType = request.type - 1;
        record.passes = DefaultPassesOf(record.purgeType);
    }
    if (request.passes > 0) record.passes = request.passes;
    for (int i = 0; i < SetupRecord::kNumOptions; ++i) record.options[i] = request.options[i];
    return record;
}

bool SomethingIsAt(const std::string& path) {
    if (!native_files::IsNativePath(path)) return platform::Files().Look(path).has_value();
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() !=
           std::filesystem::file_type::not_found;
}

int Save(const SetupRecord& record, const std::string& file, bool yes, std::ostream& err) {
    if (SomethingIsAt(file) && !yes) {
        err << "purge: " << VisibleText(file) << " exists; add --yes to replace it\n";
        return kExitBadRequest;
    }
    if (!WriteSetupFile(file, record)) {
        err << "purge: Cannot save setup in operation file " << VisibleText(file) << "!\n";
        return kExitBadRequest;
    }
    return kExitDone;
}

}  // namespace

bool NamesPathsVerb(const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg == "--") return false;
        if (IsVerb(arg)) return true;
    }
    return false;
}

bool ParsePathsOption(const std::vector<std::string>& args, std::size_t& i, PathsRequest& request,
                      std::string& problem) {
    const std::string& arg = args[i];
    auto setVerb = [&](PathsRequest::Verb verb) {
        if (request.verb != PathsRequest::Verb::None) {
            problem = "give one of --list-files, --purge-files and --save, once";
        }
        request.verb = verb;
    };
    if (arg == "--") {
        // Everything after it is a PATH, also a name that starts with "-".
        while (i + 1 < args.size()) request.paths.push_back(args[++i]);
    } else if (arg == "--list-files") {
        setVerb(PathsRequest::Verb::List);
    } else if (arg == "--purge-files") {
        setVerb(PathsRequest::Verb::Purge);
    } else if (arg == "--save") {
        setVerb(PathsRequest::Verb::Save);
        if (problem.empty() && !TakeValue(args, i, request.saveFile)) {
            problem = "--save needs the operation file to write";
        }
    } else if (arg == "--subfolders") {
        request.subfolders = true;
    } else if (arg == "--spec") {
        std::string spec;
        if (!TakeValue(args, i, spec) || !IsPattern(Trimmed(spec))) {
            problem = "--spec needs a pattern of file names, such as '*.doc', without \\ or /";
        }
        request.spec = Trimmed(spec);
    } else if (arg == "--type") {
        auto type = TakeNumber(args, i);
        if (!type || *type < 1 || *type > kNumPurgeTypes) {
            problem = "--type needs 1, 2 or 3";
        }
        request.type = type.value_or(0);
    } else if (arg == "--passes") {
        auto passes = TakeNumber(args, i);
        if (!passes || *passes < 1) problem = "--passes needs a number of passes, 1 or more";
        request.passes = passes.value_or(0);
    } else if (arg == "--cluster") {
        auto size = TakeNumber(args, i);
        const auto& sizes = frmPurgeConfirmation::kClusterSizes;
        if (!size || std::find(std::begin(sizes), std::end(sizes), *size) == std::end(sizes)) {
            problem = "--cluster needs a cluster size in bytes: 512, 1024, 2048, ... 65536";
        }
        request.clusterSize = size.value_or(0);
    } else if (auto option = std::find(kOptionNames.begin(), kOptionNames.end(), arg);
               option != kOptionNames.end()) {
        request.options[option - kOptionNames.begin()] = true;
    } else if (!arg.empty() && arg[0] != '-') {
        request.paths.push_back(arg);
    } else {
        return false;
    }
    return true;
}

bool CheckPathsRequest(const PathsRequest& request, std::string& problem) {
    using Verb = PathsRequest::Verb;
    const bool anyBox =
        std::find(request.options.begin(), request.options.end(), true) != request.options.end();
    const int code = request.type > 0 ? request.type - 1 : SetupRecord{}.purgeType;
    if (request.paths.empty()) {
        problem = "name the files or folders (PATH) to work on";
    } else if (request.verb == Verb::Save && request.paths.size() > 1) {
        problem = "an operation file holds one selection: give --save one PATH";
    } else if (request.verb == Verb::List && (anyBox || request.clusterSize > 0)) {
        problem = "the purge options go with --purge-files and --save, not with --list-files";
    } else if (request.passes > MaxPassesOf(code)) {
        problem = "purge type " + std::to_string(code + 1) + " offers 1 to " +
                  std::to_string(MaxPassesOf(code)) + " passes";
    } else if (!request.subfolders &&
               (request.options[kFolderNamesOnly] || request.options[kDeleteEmptyFolders])) {
        problem = "--folder-names-only and --delete-empty-folders go with --subfolders";
    } else if (request.clusterSize > 0 && request.verb == Verb::Save) {
        problem = "an operation file does not store a cluster size; give --cluster when purging";
    } else if (request.clusterSize > 0 && !request.options[kSlack]) {
        problem = "--cluster is the cluster size of --slack and goes with it";
    } else {
        return true;
    }
    return false;
}

int RunPaths(const PathsRequest& request, const std::string& saveFile, bool yes,
             PurgeTypeChoice& type, PurgeOptions& boxes, std::ostream& err, const SetupRun& run) {
    std::vector<PathArgument> paths;
    for (const auto& path : request.paths) {
        std::string problem;
        auto resolved = ResolvePathArgument(path, problem);
        if (resolved && !resolved->folder && (request.subfolders || !request.spec.empty())) {
            problem = "is a file; --subfolders and --spec go with a folder";
            resolved.reset();
        } else if (resolved && !resolved->folder &&
                   HasWildcards(FileNameOfPath(resolved->drivePath, false))) {
            // As the selection such a name would be a pattern and select
            // other files besides.
            problem = "a file whose name holds * or ? cannot be selected alone";
            resolved.reset();
        }
        if (!resolved) {
            err << "purge: " << VisibleText(path) << ": " << problem << "\nNothing was touched.\n";
            return kExitBadRequest;
        }
        paths.push_back(*resolved);
    }

    if (request.verb == PathsRequest::Verb::Save) {
        // The window saves the setup it holds once it has loaded the
        // PATH's, with the version it records.
        const Selection selection = SelectionOfSetup(SetupFor(paths.front(), request), type, boxes);
        if (!selection.FilesSpecified()) {
            // Its folder could not be read (said above): the file would select nothing.
            err << "purge: nothing saved in " << VisibleText(saveFile) << "\n";
            return kExitBadRequest;
        }
        return Save(SetupOfSelection(selection, frmMain::ProgramVersion(), type, boxes), saveFile,
                    yes, err);
    }
    int worst = kExitDone;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        Selection selection = SelectionOfSetup(SetupFor(paths[i], request), type, boxes);
        if (request.clusterSize > 0) {
            // The purge confirmation offers the drive's cluster size first
            // and keeps it.
            selection.lngClusterSizeByDrive[platform::DriveLetterOf(paths[i].drivePath) - 'A'] =
                request.clusterSize;
        }
        worst = std::max(worst, run(selection, type, request.paths[i]));
        if (worst == kExitStopped) break;
    }
    return worst;
}
