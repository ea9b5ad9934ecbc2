// Deleting a dummy file or an emptied folder and changing the read-only
// mark act on a name only while it still holds what was looked at: someone
// who swaps the entry between the look and the act loses nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/NewFiles.h"
#include "tests/testsupport/TempDrive.h"

namespace {

// C:\f.txt looked at, then renamed to C:\moved.txt and another file made
// under its name: returns the identity of the file that was looked at.
platform::FileIdentity LookThenSwap(testing_support::TempDrives& drives,
                                    platform::FolderHandle& root) {
    drives.WriteFile("C:\\f.txt", "looked at");
    auto seen = root.Look("f.txt");
    EXPECT_TRUE(seen.has_value());
    std::filesystem::rename(drives.Native("C:\\f.txt"), drives.Native("C:\\moved.txt"));
    drives.WriteFile("C:\\f.txt", "swapped in");
    return seen ? seen->identity : platform::FileIdentity{};
}

TEST(ActOnlyOnWhatWasSeen, DeleteIfStillLeavesAFileSwappedInUnderTheName) {
    testing_support::TempDrives drives("C");
    auto root = platform::Files().OpenFolder("C:\\");
    ASSERT_NE(root, nullptr);
    const platform::FileIdentity seen = LookThenSwap(drives, *root);
    EXPECT_FALSE(platform::TheNewFiles().DeleteIfStill(*root, "f.txt", seen));
    EXPECT_EQ(drives.ReadFile("C:\\f.txt"), "swapped in");
    // Under the name it holds now, the file that was seen goes.
    EXPECT_TRUE(platform::TheNewFiles().DeleteIfStill(*root, "moved.txt", seen));
    EXPECT_FALSE(drives.Exists("C:\\moved.txt"));
}

TEST(ActOnlyOnWhatWasSeen, SetReadOnlyLeavesAFileSwappedInUnderTheName) {
    testing_support::TempDrives drives("C");
    auto root = platform::Files().OpenFolder("C:\\");
    ASSERT_NE(root, nullptr);
    const platform::FileIdentity seen = LookThenSwap(drives, *root);
    EXPECT_FALSE(root->SetReadOnly("f.txt", seen, true));
    EXPECT_FALSE(platform::Files().Attributes("C:\\f.txt")->readOnly);
    EXPECT_TRUE(root->SetReadOnly("moved.txt", seen, true));
    EXPECT_TRUE(platform::Files().Attributes("C:\\moved.txt")->readOnly);
    EXPECT_TRUE(root->SetReadOnly("moved.txt", seen, false));
    EXPECT_FALSE(platform::Files().Attributes("C:\\moved.txt")->readOnly);
}

TEST(ActOnlyOnWhatWasSeen, RemoveSubfolderLeavesAFolderSwappedInUnderTheName) {
    testing_support::TempDrives drives("C");
    drives.MakeFolder("C:\\d");
    auto root = platform::Files().OpenFolder("C:\\");
    ASSERT_NE(root, nullptr);
    auto seen = root->Look("d");
    ASSERT_TRUE(seen.has_value());
    std::filesystem::rename(drives.Native("C:\\d"), drives.Native("C:\\moved"));
    drives.MakeFolder("C:\\d");
    EXPECT_FALSE(root->RemoveSubfolder("d", seen->identity));
    EXPECT_TRUE(drives.Exists("C:\\d"));
    EXPECT_TRUE(root->RemoveSubfolder("moved", seen->identity));
    EXPECT_FALSE(drives.Exists("C:\\moved"));
}

}  // namespace
