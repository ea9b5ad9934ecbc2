#include "platform/DrivePaths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "tests/testsupport/TempDrive.h"
#include "tests/testsupport/SpecialFiles.h"

using platform::DriveTable;
using platform::ToDrivePath;
using platform::ToNativePath;

TEST(DriveTable, ParsesTheEnvironmentSpecification) {
    if (testing_support::kNativeSeparator != '/') GTEST_SKIP() << "POSIX paths";
    auto table = DriveTable::FromSpec("C=/;d=/mnt/data/;Q=;1=/x;E/y;F=/srv");
    EXPECT_EQ(table.Root('C'), "/");
    EXPECT_EQ(table.Root('D'), "/mnt/data");
    EXPECT_FALSE(table.IsMapped('Q'));
    EXPECT_FALSE(table.IsMapped('E'));
    EXPECT_EQ(table.Root('f'), "/srv");
}

TEST(DrivePaths, MapBothWaysAndKeepCase) {
    if (testing_support::kNativeSeparator != '/') GTEST_SKIP() << "POSIX paths";
    platform::DriveTable saved = platform::Drives();
    platform::SetDrives(DriveTable::FromSpec("C=/;D=/mnt/data;Z=/srv/z"));
    EXPECT_EQ(ToNativePath("z:\\a"), "/srv/z/a") << "the last letter, in lower case";
    EXPECT_EQ(ToNativePath("C:\\Users\\Secret.txt"), "/Users/Secret.txt");
    EXPECT_EQ(ToNativePath("d:\\Docs\\a b\\"), "/mnt/data/Docs/a b");
    EXPECT_EQ(ToNativePath("D:"), "/mnt/data");
    EXPECT_EQ(ToNativePath("C:\\"), "/");
    EXPECT_EQ(ToNativePath("D:\\x\\..\\y"), "/mnt/data/y");
    EXPECT_EQ(ToNativePath("D:\\..\\etc"), std::nullopt) << "must not climb above the root";
    EXPECT_EQ(ToNativePath("E:\\x"), std::nullopt);
    EXPECT_EQ(ToNativePath("relative"), std::nullopt);

    EXPECT_EQ(ToDrivePath("/mnt/data/Docs/F.TXT"), "D:\\Docs\\F.TXT");
    EXPECT_EQ(ToDrivePath("/mnt/data"), "D:\\");
    EXPECT_EQ(ToDrivePath("/mnt/database"), "C:\\mnt\\database");
    EXPECT_EQ(ToDrivePath("/"), "C:\\");
    platform::SetDrives(saved);
}

TEST(PosixFileSystem, NamesDifferingOnlyInCaseStayApart) {
    if (!testing_support::kCaseSensitiveNames) GTEST_SKIP() << testing_support::kNamesIgnoreCase;
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\Secret.txt", "upper");
    drives.WriteFile("C:\\secret.txt", "lower");
    auto& fs = platform::Files();
    ASSERT_TRUE(fs.SetReadOnly("C:\\Secret.txt", true));
    EXPECT_TRUE(fs.Attributes("C:\\Secret.txt")->readOnly);
    EXPECT_FALSE(fs.Attributes("C:\\secret.txt")->readOnly);
    EXPECT_EQ(fs.FileLength("C:\\secret.txt"), 5u);
}

TEST(PosixFileSystem, ReadOnlyIsTheOwnersWriteBitEvenForRoot) {
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\f.txt", "x");
    auto& fs = platform::Files();
    EXPECT_FALSE(fs.Attributes("C:\\f.txt")->readOnly);
    ASSERT_TRUE(fs.SetReadOnly("C:\\f.txt", true));
    EXPECT_TRUE(fs.Attributes("C:\\f.txt")->readOnly);
    ASSERT_TRUE(fs.SetReadOnly("C:\\f.txt", false));
    EXPECT_FALSE(fs.Attributes("C:\\f.txt")->readOnly);
}

TEST(PosixFileSystem, ReportsLinksAndFifosAsWhatTheyAre) {
    if (!testing_support::kHasFifosAndLinks) GTEST_SKIP() << testing_support::kNoFifosAndLinks;
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\target.txt", "t");
    drives.MakeFolder("C:\\sub");
    ASSERT_TRUE(testing_support::MakeSymbolicLink(drives.Native("C:\\target.txt"),
                                                  drives.Native("C:\\link.txt")));
    ASSERT_TRUE(testing_support::MakeFifo(drives.Native("C:\\pipe")));
    auto& fs = platform::Files();
    EXPECT_EQ(fs.KindOf("C:\\link.txt"), platform::EntryKind::SymbolicLink);
    EXPECT_EQ(fs.KindOf("C:\\pipe"), platform::EntryKind::Other);
    EXPECT_FALSE(fs.FileLength("C:\\link.txt"));
    auto entries = fs.ReadFolder("C:\\");
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), 4u);
    EXPECT_FALSE(fs.ReadFolder("C:\\link.txt"));
    EXPECT_FALSE(fs.SetReadOnly("C:\\link.txt", true));
}

TEST(PosixFileSystem, ASubfolderOpensOnlyWhileItIsTheFolderThatWasListed) {
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\top\\sub\\mine.txt", "mine");
    drives.WriteFile("C:\\elsewhere\\theirs.txt", "theirs");
    auto top = platform::Files().OpenFolder("C:\\top\\");
    ASSERT_NE(top, nullptr);
    auto listed = top->Look("sub");
    ASSERT_TRUE(listed);
    EXPECT_NE(top->OpenSubfolder("sub", listed->identity), nullptr);

    // Another real folder takes the listed name: it is not entered.
    std::filesystem::rename(drives.Native("C:\\top\\sub"), drives.Native("C:\\moved"));
    std::filesystem::rename(drives.Native("C:\\elsewhere"), drives.Native("C:\\top\\sub"));
    std::string why;
    EXPECT_EQ(top->OpenSubfolder("sub", listed->identity, &why), nullptr);
    EXPECT_EQ(why, "it was replaced while the run went on");
    EXPECT_FALSE(top->RemoveSubfolder("sub", listed->identity));
}
