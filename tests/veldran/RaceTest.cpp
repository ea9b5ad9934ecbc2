// The program against someone who swaps its file's folder for a symbolic
// link to another folder, over and over, while it wipes. Whichever of the
// two the name leads to when the program starts, it must wipe and delete
// only a file it opened at the start, and the other folder's file must keep
// its bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "Helpers.h"

namespace veldran_test {
namespace {

// Exchanges two names atomically, as fast as it can, until destroyed.
class NameSwapper {
  public:
    NameSwapper(std::string first, std::string second)
        : first_(std::move(first)), second_(std::move(second)), thread_([this] { Run(); }) {}
    ~NameSwapper() {
        stop_ = true;
        thread_.join();
    }
    long swaps() const { return swaps_; }

  private:
    void Run() {
        while (!stop_) {
            if (renameat2(AT_FDCWD, first_.c_str(), AT_FDCWD, second_.c_str(), RENAME_EXCHANGE) ==
                0) {
                ++swaps_;
            }
        }
    }

    std::string first_, second_;
    std::atomic<bool> stop_{false};
    std::atomic<long> swaps_{0};
    std::thread thread_;
};

// The bytes of `name` in the folder open as `folder`.
std::string ReadInFolder(int folder, const char* name) {
    const int fd = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    std::string bytes;
    char buffer[65536];
    for (ssize_t count; fd >= 0 && (count = read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    if (fd >= 0) close(fd);
    return bytes;
}

TEST(VeldranRace, AFolderSwappedForALinkNeverLeadsTheWipeElsewhere) {
    const std::string own(2 << 20, 'S');
    const std::string victim(1 << 20, 'V');
    constexpr int kRuns = 6;
    int wiped = 0;
    for (int run = 0; run < kRuns; ++run) {
        TempFolder folder;
        ASSERT_EQ(mkdir(folder.Path("work").c_str(), 0755), 0);
        ASSERT_EQ(mkdir(folder.Path("victim").c_str(), 0755), 0);
        WriteAll(folder.Path("work/swap"), own);
        WriteAll(folder.Path("victim/swap"), victim);
        ASSERT_EQ(symlink("victim", folder.Path("link").c_str()), 0);
        // Follows the real folder under whichever name it has.
        const int work = open(folder.Path("work").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(work, 0);

        ProgramRun result;
        long swaps;
        {
            NameSwapper swapper(folder.Path("work"), folder.Path("link"));
            result = RunVeldran(folder.path(), {"work/swap", "5"});
            swaps = swapper.swaps();
        }
        EXPECT_GT(swaps, 0) << "run " << run;
        // Compared as a whole, so that a failure does not print megabytes.
        EXPECT_TRUE(ReadAll(folder.Path("victim/swap")) == victim)
            << "run " << run << ": the other folder's file was written";

        struct stat info;
        const bool ownLeft = fstatat(work, "swap", &info, AT_SYMLINK_NOFOLLOW) == 0;
        if (result.exitCode == 0) {
            // Started on the real folder: its file is the one wiped.
            ++wiped;
            EXPECT_EQ(result.output,
                      PassTexts("work/swap", 5) + "\nThe file work/swap has been wiped.\n");
            EXPECT_FALSE(ownLeft) << "run " << run;
        } else {
            // Started on the link, which is refused before anything is written.
            EXPECT_EQ(result.exitCode, 254) << "run " << run << ": " << result.output;
            EXPECT_TRUE(ReadInFolder(work, "swap") == own)
                << "run " << run << ": the file was written although the wipe failed";
        }
        close(work);
    }
    std::printf("%d of %d runs started on the real folder and wiped its file\n", wiped, kRuns);
}

}  // namespace
}  // namespace veldran_test
