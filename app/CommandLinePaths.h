// The command-line mode's own selections: files and folders named on the
// command line instead of in an operation file.
//
//   purge --list-files PATH... [--subfolders] [--spec PATTERN]
//   purge --purge-files PATH... [selection and purge options] [--yes]
//   purge --save FILE.kzs PATH [selection and purge options]
//
// A file selects exactly that file; a folder selects its files matching
// the pattern ("*.*" when none is given), with its subfolders when asked.
// The options are the purge confirmation's check boxes and the purge type
// dialog's choices; those not given keep the window's defaults (purge type
// 3 with 3 passes, every box clear). Each PATH becomes the setup the window
// would hold for it and runs as an operation file with that setup runs;
// --save writes that setup as the window saves it.
#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct PurgeOptions;
struct PurgeTypeChoice;
struct Selection;

struct PathsRequest {
    enum class Verb { None, List, Purge, Save } verb = Verb::None;
    std::vector<std::string> paths;
    std::string saveFile;  // --save
    bool subfolders = false;
    std::string spec;     // empty: "*.*"
    int type = 0;         // 1 to 3; 0: the window's default
    int passes = 0;       // 0: the type's default
    int clusterSize = 0;  // bytes; 0: as the drive has it
    // The purge confirmation's boxes, in the order a setup file stores them:
    // slack, keep purged files, read-only, sensitive, folder names only,
    // delete empty folders.
    std::array<bool, 6> options{};
};

// True when the arguments hold one of the verbs above; their options are
// then read by ParsePathsOption (--type and --passes included).
bool NamesPathsVerb(const std::vector<std::string>& args);

// Takes the option or PATH at args[i] (and its value, moving i on); false
// when args[i] is none of them. problem is set when it is malformed.
bool ParsePathsOption(const std::vector<std::string>& args, std::size_t& i, PathsRequest& request,
                      std::string& problem);

// The combinations that make no sense, once every argument is read.
bool CheckPathsRequest(const PathsRequest& request, std::string& problem);

// Runs a selection with a purge type as --list or --purge runs an
// operation file once it is loaded; `label` names the selection in
// messages.
using SetupRun = std::function<int(Selection& selection, const PurgeTypeChoice& type,
                                   const std::string& label)>;

// Checks every PATH first (any bad one: kExitBadRequest, nothing touched),
// then runs each in the order given, or saves the setup of the one PATH in
// saveFile (the --save file as a drive path or an absolute path of this
// system; an existing one is replaced only with yes). Each PATH's setup
// puts its purge type in force in `type` and its options in `boxes`, as an
// operation file's does. The
// exit status is the worst of the runs'; a run that was stopped or declined
// ends the rest.
int RunPaths(const PathsRequest& request, const std::string& saveFile, bool yes,
             PurgeTypeChoice& type, PurgeOptions& boxes, std::ostream& err, const SetupRun& run);
