// The built program, run as a process. Negative exit codes arrive modulo
// 256: -1 is 255, -7 is 249.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Helpers.h"

namespace veldran_test {
namespace {

TEST(VeldranProgram, WithoutArgumentsShowsTheUsage) {
    TempFolder folder;
    const ProgramRun run = RunVeldran(folder.path(), {});
    EXPECT_EQ(run.output,
              "\nVELDRAN.EXE, Version 3.1, Kestrane: tools that destroy files for good."
              "\nUse: VELDRAN filename [num_writes]\nnum_writes: number of times file is to be "
              "overwritten\n(at least 4 times, at most 18 times)\nExample: VELDRAN "
              "\\WINDOWS\\WIN386.SWP 6\n");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(VeldranProgram, RefusesWildcardsAndOverlongNamesBeforeWriting) {
    TempFolder folder;
    for (const char* name : {"swap*", "swa?"}) {
        WriteAll(folder.Path(name), "data");
        const ProgramRun run = RunVeldran(folder.path(), {name});
        EXPECT_EQ(run.output, "Wildcard characters not permitted.\n");
        EXPECT_EQ(run.exitCode, 249);
        EXPECT_EQ(ReadAll(folder.Path(name)), "data");
    }
    const std::string overlong(128, 'n');
    WriteAll(folder.Path(overlong), "data");
    const ProgramRun refused = RunVeldran(folder.path(), {overlong});
    EXPECT_EQ(refused.output, "File name too long: at most 127 bytes.\n");
    EXPECT_EQ(refused.exitCode, 248);
    EXPECT_EQ(ReadAll(folder.Path(overlong)), "data");

    const std::string longest(127, 'n');
    WriteAll(folder.Path(longest), "data");
    EXPECT_EQ(RunVeldran(folder.path(), {longest}).exitCode, 0);
    EXPECT_FALSE(Exists(folder.Path(longest)));
}

TEST(VeldranProgram, ReportsFilesItCannotOpen) {
    TempFolder folder;
    const ProgramRun missing = RunVeldran(folder.path(), {"missing"});
    EXPECT_EQ(missing.output,
              "File missing will be overwritten 4 times.\n1st overwrite with "
              "byte 0 ...\nFile not found.\n");
    EXPECT_EQ(missing.exitCode, 255);

    // Neither a folder, nor a symbolic link, nor a path through a linked
    // folder, nor a FIFO is a file to wipe; the links' targets stay
    // untouched, and the FIFO is not waited on.
    ASSERT_EQ(mkdir(folder.Path("folder").c_str(), 0755), 0);
    WriteAll(folder.Path("target"), "data");
    WriteAll(folder.Path("folder/target"), "data");
    ASSERT_EQ(symlink("target", folder.Path("link").c_str()), 0);
    ASSERT_EQ(symlink("folder", folder.Path("linked").c_str()), 0);
    ASSERT_EQ(mkfifo(folder.Path("fifo").c_str(), 0666), 0);
    for (const char* name : {"folder", "folder/", "link", "linked/target", "fifo"}) {
        const ProgramRun run = RunVeldran(folder.path(), {name});
        EXPECT_EQ(run.output, PassTexts(name, 4, 1) + "\nUnable to open file.\n");
        EXPECT_EQ(run.exitCode, 254) << name;
    }
    EXPECT_EQ(ReadAll(folder.Path("target")), "data");
    EXPECT_EQ(ReadAll(folder.Path("folder/target")), "data");

    const ProgramRun underFile = RunVeldran(folder.path(), {"target/swap"});
    EXPECT_EQ(underFile.output, PassTexts("target/swap", 4, 1) + "\nFile not found.\n");
    EXPECT_EQ(underFile.exitCode, 255);
}

TEST(VeldranProgram, FindsTheFileThroughTheFoldersOfItsName) {
    TempFolder folder;
    ASSERT_EQ(mkdir(folder.Path("sub").c_str(), 0755), 0);
    for (const std::string& name :
         {std::string("sub/swap"), std::string("./sub/../sub//swap"), folder.Path("sub/swap")}) {
        WriteAll(folder.Path("sub/swap"), "data");
        const ProgramRun run = RunVeldran(folder.path(), {name});
        EXPECT_EQ(run.output, PassTexts(name, 4) + "\nThe file " + name + " has been wiped.\n");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_FALSE(Exists(folder.Path("sub/swap")));
    }
}

TEST(VeldranProgram, ClampsTheNumberOfWritesAndDeletesTheFile) {
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{}, 4},
        {{"2"}, 4},
        {{"abc"}, 4},
        {{"-5"}, 4},
        {{"19"}, 18},
        {{"100"}, 18},
        {{" +7x"}, 7},
        {{"99999999999"}, 18},
        {{"-99999999999"}, 4},
        {{"5", "9", "extra"}, 5},
    };
    TempFolder folder;
    for (const auto& [writes, expected] : cases) {
        WriteAll(folder.Path("empty"), "");
        std::vector<std::string> args{"empty"};
        args.insert(args.end(), writes.begin(), writes.end());
        const ProgramRun run = RunVeldran(folder.path(), args);
        EXPECT_EQ(run.output, PassTexts("empty", expected) + "\nThe file empty has been wiped.\n")
            << testing::PrintToString(writes);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_FALSE(Exists(folder.Path("empty")));
    }
}

// With deletion refused the file stays as the last pass left it.
TEST(VeldranProgram, RoundsLengthsUpToWhole64KUnits) {
    TempFolder folder;
    WriteAll(folder.Path("empty"), "");
    WriteAll(folder.Path("odd"), std::string(65537, 'A'));
    for (const char* name : {"empty", "odd"}) chmod(folder.Path(name).c_str(), 0666);
    chmod(folder.path().c_str(), 0555);
    for (const auto& [name, size] : {std::pair{"empty", 65536u}, std::pair{"odd", 131072u}}) {
        const ProgramRun run = RunVeldran(folder.path(), {name}, {.asOtherUser = true});
        EXPECT_EQ(run.output, PassTexts(name, 4) + "\nUnable to delete file.\n");
        EXPECT_EQ(run.exitCode, 250);
        EXPECT_EQ(ReadAll(folder.Path(name)).size(), size);
    }
}

// A file size limit makes writes fail part way, as a full disk would.
TEST(VeldranProgram, WriteFailuresFailTheWipeOnlyBeforeTheOldBytesAreCovered) {
    TempFolder folder;
    const std::string old(65537, 'A');
    WriteAll(folder.Path("swap"), old);
    const ProgramRun grow = RunVeldran(folder.path(), {"swap"}, {.fileSizeLimit = 100000});
    EXPECT_EQ(grow.output, PassTexts("swap", 4) + "\nThe file swap has been wiped.\n");
    EXPECT_EQ(grow.exitCode, 0);

    WriteAll(folder.Path("swap"), old);
    const ProgramRun partial = RunVeldran(folder.path(), {"swap"}, {.fileSizeLimit = 50000});
    EXPECT_EQ(partial.output,
              PassTexts("swap", 4, 1) + "\nUnable to write to file.  File not deleted.\n");
    EXPECT_EQ(partial.exitCode, 253);
    EXPECT_EQ(ReadAll(folder.Path("swap")), std::string(50000, '\0') + old.substr(50000));
}

TEST(VeldranProgram, DoesNotReadKeysFromAPipe) {
    TempFolder folder;
    WriteAll(folder.Path("swap"), "data");
    EXPECT_EQ(RunVeldran(folder.path(), {"swap"}, {.input = "\x1b"}).exitCode, 0);
}

}  // namespace
}  // namespace veldran_test
