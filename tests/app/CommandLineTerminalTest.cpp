// The command-line mode on a terminal: progress redrawn in place on
// standard error only when it is a terminal and --quiet is not given, and
// a wipe question that says which drive and how much it destroys.
#if !defined(_WIN32) && defined(PURGE_PROGRAM)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CommandLineProgress.h"
#include "purge/NumberFormat.h"
#include "tests/testsupport/TempDrive.h"

namespace {

struct Ran {
    std::string terminal;  // all the terminal showed
    int status = -1;
};

// Runs purge with standard error (and, with `allOnTerminal`, standard input
// and output) on a pseudo-terminal; `typed` is typed once `waitFor` shows.
Ran OnTerminal(const std::string& drives, const std::vector<std::string>& args,
               bool allOnTerminal = false, const std::string& waitFor = "",
               const std::string& typed = "") {
    Ran ran;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return ran;
    }
    const std::string slavePath = ptsname(master);
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const int terminal = open(slavePath.c_str(), O_RDWR);
        ioctl(terminal, TIOCSCTTY, 0);
        const int nowhere = open("/dev/null", O_RDWR);
        dup2(allOnTerminal ? terminal : nowhere, 0);
        dup2(allOnTerminal ? terminal : nowhere, 1);
        dup2(terminal, 2);
        setenv("KESTRANE_DRIVES", drives.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(PURGE_PROGRAM)};
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(PURGE_PROGRAM, argv.data());
        _exit(122);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool typedYet = waitFor.empty();
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        char buffer[4096];
        if (poll(&ready, 1, 100) == 1) {
            const ssize_t count = read(master, buffer, sizeof buffer);
            if (count <= 0) break;  // the program ended and closed the terminal
            ran.terminal.append(buffer, std::size_t(count));
        }
        if (!typedYet && ran.terminal.find(waitFor) != std::string::npos) {
            typedYet = write(master, typed.data(), typed.size()) == ssize_t(typed.size());
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            ADD_FAILURE() << "the program hangs: " << ran.terminal;
            break;
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000;
    close(master);
    return ran;
}

class CommandLineTerminal : public ::testing::Test {
  protected:
    CommandLineTerminal() {
        for (int i = 0; i < 20; ++i) {
            drives_.WriteFile("C:\\tree\\sub\\file" + std::to_string(i) + ".txt", "some words");
        }
    }
    std::string Drives() const { return "C=" + drives_.Root('C'); }
    testing_support::TempDrives drives_{"C"};
};

TEST_F(CommandLineTerminal, ARunShowsItsProgressInPlaceUnlessQuiet) {
    // The count follows no link, as the run does not.
    for (int i = 0; i < 5; ++i) drives_.WriteFile("C:\\outside\\o" + std::to_string(i), "x");
    std::filesystem::create_directory_symlink(drives_.Native("C:\\outside"),
                                              drives_.Native("C:\\tree\\link"));
    const std::vector<std::string> args{"--purge-files", "C:\\tree",  "--subfolders",
                                        "--type",        "1",        "--passes",
                                        "1",             "--yes"};
    Ran ran = OnTerminal(Drives(), args);
    EXPECT_EQ(ran.status, 1) << "the link is left: " << ran.terminal;
    EXPECT_NE(ran.terminal.find("\rPurged "), std::string::npos) << ran.terminal;
    EXPECT_NE(ran.terminal.find(" of 20 files, in C:\\tree\\"), std::string::npos)
        << "counted before the first file is gone: " << ran.terminal;
    EXPECT_EQ(ran.terminal.find('\n'), std::string::npos) << "one line, redrawn: " << ran.terminal;

    for (int i = 0; i < 3; ++i) drives_.WriteFile("C:\\again\\f" + std::to_string(i), "x");
    std::vector<std::string> quiet{"--purge-files", "C:\\again", "--yes", "--quiet"};
    ran = OnTerminal(Drives(), quiet);
    EXPECT_EQ(ran.status, 0) << ran.terminal;
    EXPECT_EQ(ran.terminal.find("Purged"), std::string::npos) << ran.terminal;
}

TEST_F(CommandLineTerminal, TheWipeQuestionSaysWhichDriveAndWhatItDestroys) {
    drives_.WriteFile("C:\\keep\\k.txt", "kept words");
    Ran ran = OnTerminal(Drives(), {"--wipe", "C:", "--exclude", "C:\\keep"}, true, "[y/N]",
                         "n\n");
    EXPECT_EQ(ran.status, 3) << ran.terminal;
    EXPECT_NE(ran.terminal.find("Drive C: is the folder " + drives_.Root('C') + ", "),
              std::string::npos)
        << ran.terminal;
    EXPECT_NE(ran.terminal.find(" bytes.\r\n20 files (200 bytes) will be destroyed, 1 file "
                                "(10 bytes) kept."),
              std::string::npos)
        << ran.terminal;
    EXPECT_TRUE(drives_.Exists("C:\\tree\\sub\\file0.txt")) << "No wipes nothing";
}

TEST(CommandLineProgress, AFillSaysBytesOfTheFreeSpaceSpeedAndTimeLeft) {
    SetNumberStyleForTesting(NumberStyle{});
    EXPECT_EQ(FillProgressText("D:", 52428800, 104857600, 10485760),
              "Filling D: 52,428,800 of 104,857,600 bytes (50%), 10.0 MB/sec, 5s left");
    EXPECT_EQ(FillProgressText("D:", 0, 104857600, 0), "Filling D: 0 of 104,857,600 bytes (0%)")
        << "no speed before it can be measured";
    EXPECT_EQ(RunProgressText(true, 3, 2, "D:\\a\\"), "Purged 3 of 3 files, in D:\\a\\")
        << "files made during the run never show more done than there are";
    EXPECT_EQ(RunProgressText(false, 1, -1, "D:\\"), "Listed 1 file, in D:\\");
    SetNumberStyleForTesting(std::nullopt);
}

}  // namespace
#endif
