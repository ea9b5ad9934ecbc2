// Swap files are protected by the names /proc/swaps gives, which the kernel
// writes with blanks, tabs and backslashes escaped.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/posix/SwapFileNames.h"

namespace {

TEST(PosixSwapFiles, NamesAreUnescapedAndOnlyFilesCount) {
    std::istringstream swaps(
        "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
        "/dev/sda3                               partition\t8388604\t\t0\t\t-2\n"
        "/swap\\040file                           file\t\t1048572\t\t0\t\t-3\n"
        "/var/a\\011tab\\134b                     file\t\t1024\t\t0\t\t-4\n"
        "/plain                                  file\t\t1024\t\t0\t\t-5\n"
        "/odd\\09x                                file\t\t1024\t\t0\t\t-6\n"
        "/ends\\040                               file\t\t1024\t\t0\t\t-7\n");
    const std::vector<std::string> expected = {"/swap file", "/var/a\ttab\\b", "/plain",
                                               "/odd\\09x", "/ends "};
    EXPECT_EQ(platform::SwapFileNamesIn(swaps), expected);
}

TEST(PosixSwapFiles, AListWithOnlyItsHeadingHasNoFiles) {
    std::istringstream swaps("Filename\tType\tSize\tUsed\tPriority\n");
    EXPECT_TRUE(platform::SwapFileNamesIn(swaps).empty());
}

}  // namespace
