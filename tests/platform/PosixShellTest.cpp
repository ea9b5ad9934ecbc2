#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "platform/posix/PosixShell.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A PATH holding only a stand-in xdg-open of the test's making (or none),
// besides the system folders the stand-in's shell needs.
class FakeOpener {
  public:
    FakeOpener() {
        std::string pattern = (fs::temp_directory_path() / "kestrane-open-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        UseFakePath();
    }
    void UseFakePath() const { ::setenv("PATH", (folder_ + ":/usr/bin:/bin").c_str(), 1); }
    ~FakeOpener() {
        ::setenv("PATH", savedPath_.c_str(), 1);
        fs::remove_all(folder_);
    }
    void Script(const std::string& body) const {
        std::string file = folder_ + "/xdg-open";
        std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
        ::chmod(file.c_str(), 0755);
    }
    std::string Record() const { return folder_ + "/record"; }
    std::string Recorded() const {
        std::ifstream in(Record());
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::string folder_;
    std::string savedPath_;
};

TEST(PosixShell, ResultsOfOpeningAnAddress) {
    auto shell = platform::MakePosixShell(2s);
    FakeOpener opener;
    ::setenv("PATH", opener.Record().c_str(), 1);  // no xdg-open anywhere
    EXPECT_EQ(shell->OpenAddress("https://example.org"), 31);
    opener.UseFakePath();

    opener.Script("exit 3");
    EXPECT_EQ(shell->OpenAddress("https://example.org"), 31);
    opener.Script("exit 2");
    EXPECT_EQ(shell->OpenAddress("file:///nowhere"), 2);
    opener.Script("exit 4");
    EXPECT_EQ(shell->OpenAddress("https://example.org"), 4);
    opener.Script("kill -9 $$");
    EXPECT_EQ(shell->OpenAddress("https://example.org"), 4);
}

TEST(PosixShell, TheAddressIsOneArgumentThatNoShellReads) {
    auto shell = platform::MakePosixShell(2s);
    FakeOpener opener;
    opener.Script("printf '%s|%s' \"$#\" \"$1\" > '" + opener.Record() + "'");
    std::string address = "https://example.org/a b;touch x$(id)&q='1'";
    EXPECT_EQ(shell->OpenAddress(address), 0);
    EXPECT_EQ(opener.Recorded(), "1|" + address);
}

TEST(PosixShell, AnOpenerThatKeepsRunningCountsAsOpened) {
    // Without a desktop session xdg-open may run the browser itself and
    // wait for it; the program must not wait with it.
    auto shell = platform::MakePosixShell(200ms);
    FakeOpener opener;
    opener.Script("echo $$ > '" + opener.Record() + "'; exec sleep 30");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(shell->OpenAddress("https://example.org"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    pid_t pid = std::atoi(opener.Recorded().c_str());
    if (pid > 0) ::kill(pid, SIGKILL);
}

}  // namespace
