// The command-line mode from end to end on a temporary drive: a tree with
// nested folders, blanks and non-ASCII names, a read-only file, a link out
// of the tree, a FIFO and names that differ only in case.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/CommandLine.h"
#include "app/SetupFile.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "platform/ProgramFolder.h"
#include "purge/FileProc.h"
#include "purge/NumberFormat.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "tests/disk/WipeTestSupport.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

using testing_support::ProgramHarness;

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
  protected:
    CommandLine() { SetNumberStyleForTesting(NumberStyle{}); }
    ~CommandLine() override { SetNumberStyleForTesting(std::nullopt); }

    Result Run(std::vector<std::string> args, const std::string& input = "",
               bool terminal = false) {
        std::ostringstream out, err;
        std::istringstream in(input);
        int status = RunCommandLine(args, out, err, in, terminal);
        return {status, out.str(), err.str()};
    }

    // An operation file on drive C: (its drive path).
    std::string OperationFile(const std::string& name, const std::string& folder,
                              const std::string& spec, bool subfolders, std::array<int, 6> options,
                              bool confirm = false) {
        SetupRecord record;
        record.strVersion = "8.27";
        record.subfolderFlag = subfolders ? 1 : 0;
        record.confirmationFlag = confirm ? 1 : 0;
        record.folder = folder;
        record.fileSpec = spec;
        record.purgeType = 0;
        record.passes = 1;
        for (int i = 0; i < 6; ++i) record.options[i] = options[i];
        std::string path = "C:\\ops\\" + name;
        Drives().WriteFile(path, WriteSetup(record));
        return path;
    }

    void MakeTree() {
        Drives().WriteFile("C:\\outside\\target.txt", "the link's target");
        Drives().WriteFile("C:\\other\\kept.txt", "outside the selection");
        Drives().WriteFile("C:\\tree\\top.txt", "top secret");
        Drives().WriteFile("C:\\tree\\with blanks.doc", "a letter");
        Drives().WriteFile(
            "C:\\tree\\\xC3\x9C"
            "bers\xC3\xA4tzung.txt",
            "non-ASCII name");
        Drives().WriteFile("C:\\tree\\Secret.txt", "upper");
        Drives().WriteFile("C:\\tree\\secret.txt", "lower case");
        Drives().WriteFile("C:\\tree\\readonly.txt", "read only");
        ::chmod(Drives().Native("C:\\tree\\readonly.txt").c_str(), 0444);
        Drives().WriteFile("C:\\tree\\setup.exe", "a program");
        Drives().WriteFile("C:\\tree\\a\\b\\c\\deep file.txt", "deep");
        Drives().WriteFile("C:\\tree\\a\\\xC3\xA9t\xC3\xA9\\x.txt", "summer");
        if (!testing_support::kHasFifosAndLinks) return;
        std::filesystem::create_symlink(Drives().Native("C:\\outside\\target.txt"),
                                        Drives().Native("C:\\tree\\link.txt"));
        std::filesystem::create_symlink(Drives().Native("C:\\outside"),
                                        Drives().Native("C:\\tree\\a\\linked folder"));
        ASSERT_TRUE(testing_support::MakeFifo(Drives().Native("C:\\tree\\pipe")));
    }

    // The same operation in the window, headless, on the same drive: its
    // report. Runs before any command line, which ends the test's windows.
    std::string WindowReport(int index, const std::string& folder, const std::string& spec,
                             bool subfolders) {
        EXPECT_TRUE(program_.Start());
        frmMain& main = program_.Windows().Main();
        main.strFolderPath[0] = folder;
        main.strFileSpec[0] = spec;
        main.blnSubdirectories = subfolders;
        main.RefreshSelection();
        program_.Windows().TypeOfPurge().SelectTypeAndPasses(0, 1);
        main.ShowTypeOfPurge();
        if (index == 2 && subfolders) program_.Ui().AnswerNextBox(ui::Answer::Yes);
        program_.Ui().OnModal("frmPurgeConfirmation", [](ui::Form& form) {
            static_cast<frmPurgeConfirmation&>(form).cmdDoPurge.RaiseClick();
        });
        main.cmdProcessFiles(index).RaiseMouseUp();
        return program_.Windows().Report().ReportText();
    }

    testing_support::TempDrives& Drives() { return program_.Drives(); }

    // Drive D is one a wipe may take: the program lies on C.
    ProgramHarness program_{testing_support::kStandardProgramText, "CD"};
};

std::string Lf(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(CommandLine, ListsAndPurgesATreeAndLeavesEverythingElseAlone) {
    // The tree's links and FIFO are what make some files unpurged.
    if (!testing_support::kHasFifosAndLinks) GTEST_SKIP() << testing_support::kNoFifosAndLinks;
    MakeTree();
    // Options: slack, keep purged files, read-only, sensitive, folder names
    // only, delete empty folders.
    const std::string list =
        OperationFile("list.kzs", "C:\\tree\\", "*.*", true, {0, 0, 1, 0, 0, 1});

    const std::string window = Lf(WindowReport(2, "C:\\tree\\", "*.*", true));
    Result listed = Run({"--list", Drives().Native(list)});
    EXPECT_EQ(listed.status, kExitNotAllPurged) << listed.err;
    EXPECT_EQ(listed.out, window) << "the window's report, with LF line ends";
    EXPECT_TRUE(Has(listed.out, "C:\\tree\\a\\b\\c\\\n"));
    EXPECT_TRUE(Has(listed.out, "Number of files: 9\n"));

    Result purged = Run({"--purge", list, "--yes"});
    const std::string& report = purged.out;
    EXPECT_EQ(purged.status, kExitNotAllPurged) << purged.err << report;
    for (const char* line :
         {"top.txt (10 bytes) purged.\n", "with blanks.doc (8 bytes) purged.\n",
          "\xC3\x9C"
          "bers\xC3\xA4tzung.txt (14 bytes) purged.\n",
          "Secret.txt (5 bytes) purged.\n", "secret.txt (10 bytes) purged.\n",
          "readonly.txt (9 bytes) purged.\n", "deep file.txt (4 bytes) purged.\n",
          "x.txt (6 bytes) purged.\n", "setup.exe: \"exe\" files are not purged.\n",
          "link.txt: a symbolic link, not purged.\n",
          "linked folder: a symbolic link, not purged.\n",
          "pipe: not a regular file, not purged.\n", "Folder C:\\tree\\a\\b\\c removed.\n",
          "Number of files purged: 8\n"}) {
        EXPECT_TRUE(Has(report, line)) << line << "\n" << report;
    }
    EXPECT_TRUE(Has(report,
                    "Purging all files in C:\\tree\\ (including all files\nin "
                    "subfolders) using random bytes once.\n"));

    for (const char* gone : {"top.txt", "with blanks.doc", "Secret.txt", "secret.txt",
                             "readonly.txt", "a\\b\\c\\deep file.txt", "a\\b"}) {
        EXPECT_FALSE(Drives().Exists(std::string("C:\\tree\\") + gone)) << gone;
    }
    EXPECT_EQ(Drives().ReadFile("C:\\tree\\setup.exe"), "a program");
    EXPECT_TRUE(Drives().Exists("C:\\tree\\link.txt"));
    EXPECT_TRUE(Drives().Exists("C:\\tree\\pipe"));
    EXPECT_EQ(Drives().ReadFile("C:\\outside\\target.txt"), "the link's target");
    EXPECT_EQ(Drives().ReadFile("C:\\other\\kept.txt"), "outside the selection");
    EXPECT_TRUE(Drives().Exists("C:\\tree")) << "the starting folder stays";
}

TEST_F(CommandLine, RunsEveryOperationWithoutMakingTheMainWindow) {
    // The speed test and the wipe on temporary drives: dummy files counted,
    // not written, and no reserve of the machine's own disk lowered.
    disk_testing::SystemOnlyTheProgramFolder system;
    disk_testing::FakeReserve reserve;
    disk_testing::SizedDrives sizes;
    sizes.sizes['D'] = {3 << 20, 8 << 20};
    disk_testing::CountingFiles fills;
    fills.capacity = 3 << 20;
    Drives().WriteFile("D:\\w.dat", "wiped");
    Drives().WriteFile("C:\\d\\a.txt", "alpha");
    Drives().WriteFile("C:\\d\\sub\\b.txt", "beta");
    Drives().WriteFile("C:\\e\\c.txt", "gamma");
    const std::string op = OperationFile("d.kzs", "C:\\d\\", "*.txt", true, {0, 0, 0, 0, 0, 0});
    const int made = frmMain::InstancesMade();
    const int typeDialogsMade = frmTypeOfPurge::InstancesMade();
    // The purge confirmation is made only where a purge asks it.
    int confirmationsMade = frmPurgeConfirmation::InstancesMade();
    auto confirmationsMadeSince = [&confirmationsMade] {
        const int made = frmPurgeConfirmation::InstancesMade() - confirmationsMade;
        confirmationsMade = frmPurgeConfirmation::InstancesMade();
        return made;
    };

    Result listed = Run({"--list", op});
    EXPECT_EQ(listed.status, kExitDone) << listed.err;
    EXPECT_TRUE(Has(listed.out, "Number of files: 2\n")) << listed.out;
    EXPECT_EQ(confirmationsMadeSince(), 0) << "--list";
    Result purged = Run({"--purge", op, "--yes"});
    EXPECT_EQ(purged.status, kExitDone) << purged.err;
    EXPECT_FALSE(Drives().Exists("C:\\d\\sub\\b.txt")) << "subfolders as the file stores them";
    EXPECT_EQ(confirmationsMadeSince(), 1) << "--purge asks it";
    Result files = Run({"--purge-files", "C:\\e\\c.txt", "--yes"});
    EXPECT_EQ(files.status, kExitDone) << files.err;
    EXPECT_FALSE(Drives().Exists("C:\\e\\c.txt"));
    EXPECT_EQ(confirmationsMadeSince(), 1) << "--purge-files asks it";

    Drives().WriteFile("C:\\f\\g.txt", "golf");
    Result saved = Run({"--save", "C:\\ops\\f.kzs", "C:\\f", "--type", "1"});
    EXPECT_EQ(saved.status, kExitDone) << saved.err;
    const SetupRead setup = ReadSetup(Drives().ReadFile("C:\\ops\\f.kzs"));
    EXPECT_TRUE(setup.complete);
    EXPECT_EQ(setup.record.folder, "C:\\f\\");
    EXPECT_EQ(setup.record.purgeType, 0);
    EXPECT_EQ(confirmationsMadeSince(), 0) << "--save";
    Result tested = Run({"--test-speed", "C:", "--list", "C:\\ops\\f.kzs"});
    EXPECT_EQ(tested.status, kExitDone) << tested.err;
    EXPECT_TRUE(Has(tested.out, "g.txt (4 bytes)\n")) << tested.out;
    EXPECT_EQ(confirmationsMadeSince(), 0) << "--test-speed with --list";
    Result wiped = Run({"--wipe", "D:", "--type", "1", "--passes", "1", "--yes"});
    EXPECT_EQ(wiped.status, kExitDone) << wiped.err;
    EXPECT_FALSE(Drives().Exists("D:\\w.dat"));
    EXPECT_EQ(confirmationsMadeSince(), 0) << "--wipe";
    EXPECT_EQ(frmMain::InstancesMade(), made);
    EXPECT_EQ(frmTypeOfPurge::InstancesMade(), typeDialogsMade)
        << "the purge type is a value on the command line, not a dialog never shown";
}

// The options an operation file stores are those the purge confirmation
// shows and the purge takes.
TEST_F(CommandLine, APurgeTakesTheOptionsTheOperationFileStores) {
    Drives().WriteFile("C:\\bin\\setup.exe", "a program");
    const std::string op =
        OperationFile("bin.kzs", "C:\\bin\\", "*.exe", false, {0, 1, 0, 1, 0, 0});
    Result purged = Run({"--purge", op, "--yes"});
    EXPECT_EQ(purged.status, kExitDone) << purged.err << purged.out;
    EXPECT_TRUE(Has(purged.out, "setup.exe (9 bytes) purged.\n")) << purged.out;
    EXPECT_TRUE(Drives().Exists("C:\\bin\\setup.exe")) << "kept, as the file asks";
    EXPECT_NE(Drives().ReadFile("C:\\bin\\setup.exe"), "a program");
}

TEST_F(CommandLine, APurgeReportReadsAsTheWindowsReport) {
    for (const char* tree : {"C:\\one\\", "C:\\two\\"}) {
        Drives().WriteFile(std::string(tree) + "a.txt", "alpha");
        Drives().WriteFile(std::string(tree) + "sub\\b.txt", "beta");
    }
    const std::string window = Lf(WindowReport(1, "C:\\two\\", "*.txt", true));
    const std::string op = OperationFile("one.kzs", "C:\\one\\", "*.txt", true, {0, 0, 0, 0, 0, 0});
    Result cli = Run({"--purge", op, "--yes"});
    EXPECT_EQ(cli.status, kExitDone) << cli.err;
    // The same lines, but for the dates and the folder's name.
    auto normalised = [](std::string text, const std::string& folder) {
        for (auto at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
            text.replace(at, folder.size(), "C:\\tree\\");
        }
        const std::regex date(".+, \\d\\d:\\d\\d:\\d\\d");
        std::istringstream lines(text);
        std::vector<std::string> kept;
        for (std::string line; std::getline(lines, line);) {
            if (!std::regex_match(line, date)) kept.push_back(line);
        }
        std::sort(kept.begin(), kept.end());
        return kept;
    };
    EXPECT_EQ(normalised(cli.out, "C:\\one\\"), normalised(window, "C:\\two\\"));
    EXPECT_EQ(std::count(cli.out.begin(), cli.out.end(), '\n'),
              std::count(window.begin(), window.end(), '\n'));
    EXPECT_EQ(cli.out.substr(cli.out.size() - 1), "\n");
}

TEST_F(CommandLine, AsksOnATerminalAndRefusesWithoutOne) {
    Drives().WriteFile("C:\\d\\a.txt", "alpha");
    const std::string op = OperationFile("d.kzs", "C:\\d\\", "a.txt", false, {0, 0, 0, 0, 0, 0});

    Result noTerminal = Run({"--purge", op});
    EXPECT_EQ(noTerminal.status, kExitBadRequest);
    EXPECT_TRUE(Has(noTerminal.err, "--yes"));
    EXPECT_TRUE(Drives().Exists("C:\\d\\a.txt"));

    Result declined = Run({"--purge", op}, "n\n", true);
    EXPECT_EQ(declined.status, kExitStopped);
    EXPECT_TRUE(Has(declined.out,
                    "Are you sure that you want to purge the file\nC:\\d\\a.txt ?\n"
                    "(This will permanently destroy all data in this file.)\n"
                    "Purge? [y/N] "));
    EXPECT_TRUE(Has(declined.err, "No files purged."));
    EXPECT_TRUE(Drives().Exists("C:\\d\\a.txt"));

    Result accepted = Run({"--purge", op}, "y\n", true);
    EXPECT_EQ(accepted.status, kExitDone) << accepted.err;
    EXPECT_TRUE(Has(accepted.out, "a.txt (5 bytes) purged."));
    EXPECT_FALSE(Drives().Exists("C:\\d\\a.txt"));
}

#ifndef _WIN32
// POSIX paths off the drives, the program run in a shell, and POSIX signals.
TEST_F(CommandLine, AnOperationFileOutsideTheDrivesIsReadByItsOwnPath) {
    Drives().WriteFile("C:\\d\\a.txt", "alpha");
    const std::string onDrive =
        Drives().Native(OperationFile("a.kzs", "C:\\d\\", "*.*", false, {0, 0, 0, 0, 0, 0}));
    // The same file beside the drives, where no letter reaches it.
    char outside[] = "/tmp/kestrane-ops-XXXXXX";
    ASSERT_NE(::mkdtemp(outside), nullptr);
    const std::string file = std::string(outside) + "/a.kzs";
    ASSERT_EQ(std::rename(onDrive.c_str(), file.c_str()), 0);
    Result listed = Run({"--list", file});
    EXPECT_EQ(listed.status, kExitDone) << listed.err;
    EXPECT_TRUE(Has(listed.out, "a.txt"));

    std::ofstream(std::string(outside) + "/bad.kzs") << "not an operation file\r\n";
    Result bad = Run({"--list", std::string(outside) + "/bad.kzs"});
    EXPECT_EQ(bad.status, kExitBadRequest);
    EXPECT_TRUE(Has(bad.err, "Error when attempting to load setup from file " +
                                 std::string(outside) + "/bad.kzs!"));
    std::filesystem::remove_all(outside);
}
#endif

TEST_F(CommandLine, BadRequestsAndOperationFilesThatCannotRunUnattended) {
    Drives().WriteFile("C:\\d\\a.txt", "alpha");
    EXPECT_EQ(Run({}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--list"}).status, kExitBadRequest);
    EXPECT_EQ(Run({"--list", "x", "--purge", "y"}).status, kExitBadRequest);
    Result unknown = Run({"--frobnicate"});
    EXPECT_EQ(unknown.status, kExitBadRequest);
    EXPECT_TRUE(Has(unknown.err, "unknown argument --frobnicate"));
    EXPECT_TRUE(IsCommandLineRequest({"--frobnicate"}));
    EXPECT_FALSE(IsCommandLineRequest({"-platform", "offscreen"}));

    Result help = Run({"--help"});
    EXPECT_EQ(help.status, kExitDone);
    EXPECT_TRUE(Has(help.out, "Exit status: 0"));

    EXPECT_EQ(Run({"--list", "C:\\ops\\missing.kzs"}).status, kExitBadRequest);
    Drives().WriteFile("C:\\ops\\short.kzs", "8.27\r\n 0 \r\n 0 \r\nC:\\d\\\r\n*.*\r\n");
    Result shortFile = Run({"--list", "C:\\ops\\short.kzs"});
    EXPECT_EQ(shortFile.status, kExitBadRequest);
    EXPECT_TRUE(
        Has(shortFile.err, "Error when attempting to load setup from file C:\\ops\\short.kzs!"));
    // A FIFO in place of the operation file is refused at once, never read.
    if (testing_support::kHasFifosAndLinks) {
        ASSERT_TRUE(testing_support::MakeFifo(Drives().Native("C:\\ops\\pipe.kzs")));
        EXPECT_EQ(Run({"--list", "C:\\ops\\pipe.kzs"}).status, kExitBadRequest);
    }

    const std::string confirm =
        OperationFile("c.kzs", "C:\\d\\", "*.*", false, {0, 0, 0, 0, 0, 0}, true);
    Result refused = Run({"--purge", confirm, "--yes"});
    EXPECT_EQ(refused.status, kExitBadRequest);
    EXPECT_TRUE(Has(refused.err, "confirm each file"));
    EXPECT_TRUE(Drives().Exists("C:\\d\\a.txt"));
    EXPECT_EQ(Run({"--list", confirm}).status, kExitDone) << "a listing confirms nothing";

    const std::string none = OperationFile("n.kzs", "C:\\d\\", "*.doc", false, {0, 0, 0, 0, 0, 0});
    Result nothing = Run({"--purge", none, "--yes"});
    EXPECT_EQ(nothing.status, kExitDone);
    EXPECT_TRUE(Has(nothing.err, "There are no files in C:\\d\\ matching *.doc."));
}

#ifndef _WIN32
TEST_F(CommandLine, TheProgramRunsWithoutADisplay) {
    const std::string purge = platform::RealProgramFolderNative() + "/purge";
    if (!std::filesystem::exists(purge)) GTEST_SKIP() << "the windowed program is not built";
    Drives().WriteFile("C:\\d\\a b.txt", "alpha");
    const std::string op = OperationFile("d.kzs", "C:\\d\\", "*.*", false, {0, 0, 0, 0, 0, 0});
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY KESTRANE_DRIVES='C=" + Drives().Root('C') + "' '" +
        purge + "' --purge '" + Drives().Native(op) + "' --yes </dev/null 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kExitDone) << out;
    EXPECT_TRUE(Has(out, "a b.txt (5 bytes) purged.\n")) << out;
    EXPECT_EQ(out.find('\r'), std::string::npos);
    EXPECT_FALSE(Drives().Exists("C:\\d\\a b.txt"));
}
#endif

#ifndef _WIN32
TEST_F(CommandLine, AStopSignalFinishesTheFileUnderWayAndPrintsTheReport) {
    const std::string op = OperationFile("s.kzs", "C:\\s\\", "*.*", false, {0, 0, 0, 0, 0, 0});
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (int i = 1; i <= 5; ++i) {
            Drives().WriteFile("C:\\s\\f" + std::to_string(i) + ".txt", "x");
        }
        int calls = 0;
        SetPurgeLibraryForTesting([&](const PurgeLibraryRequest& request, std::int32_t& seconds) {
            if (++calls == 2) ::raise(signal);  // arrives while the second file is purged
            return CallPurgeLibrary(request, seconds);
        });
        Result result = Run({"--purge", op, "--yes"});
        SetPurgeLibraryForTesting(nullptr);
        EXPECT_EQ(result.status, kExitStopped) << signal;
        EXPECT_EQ(calls, 2) << signal;
        EXPECT_TRUE(Has(result.out, "Number of files purged: 2\n")) << result.out;
        EXPECT_TRUE(Has(result.out, "Purge operation was stopped.\n")) << result.out;
    }
    // Outside a run the signals end the program as they always did.
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}
#endif
