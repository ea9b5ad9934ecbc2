// Program texts fetched through the purge library, as the program does.
#include "support/ProgramText.h"

#include <gtest/gtest.h>

#include "tests/testsupport/ProgramHarness.h"

using testing_support::ProgramHarness;

TEST(ProgramText, FetchesWholeTextsAndNeverStaleBufferContents) {
    std::string longText(1024, 'x');
    longText.front() = '<';
    longText.back() = '>';
    std::string file = "1\tKestrane\n4\t(Not specified)\n27\thttps://a.example/\n310\tKestrane\n"
                       "99\t" + longText + "\r\n100\tshort\n";
    ProgramHarness program(file.c_str());
    ASSERT_TRUE(program.Start());

    EXPECT_EQ(GetProgramText(99), longText) << "a text that fills the buffer comes back whole";
    EXPECT_EQ(GetProgramText(100), "short");
    EXPECT_EQ(GetProgramText(5), "") << "a missing text must not return the buffer's old contents";
    EXPECT_EQ(GetProgramText(-1), "");
    EXPECT_EQ(GetProgramText(1), "Kestrane");
}

TEST(ProgramText, LoadMessagesCoverEveryBandOfCodes) {
    EXPECT_EQ(ProgramTextLoadMessage(-5, ""), "Error -5");
    EXPECT_EQ(ProgramTextLoadMessage(-9, ""), "Error -9");
    EXPECT_EQ(ProgramTextLoadMessage(-500, ""), "Error -500");
    EXPECT_EQ(ProgramTextLoadMessage(-501, ""), "Missing string at line 1.");
    EXPECT_EQ(ProgramTextLoadMessage(-512, ""), "Missing string at line 12.");
    EXPECT_EQ(ProgramTextLoadMessage(-1000, ""), "Missing string at line 500.");
    EXPECT_EQ(ProgramTextLoadMessage(-1003, ""), "String too long at line 3.");
    EXPECT_EQ(ProgramTextLoadMessage(-1500, ""), "String too long at line 500.");
    EXPECT_EQ(ProgramTextLoadMessage(-1507, ""), "Duplicate in program text at line 7.");
    EXPECT_EQ(ProgramTextLoadMessage(-2, ""), "Particular memory allocation error.");
    EXPECT_EQ(ProgramTextLoadMessage(-3, ""), "Too much program text.");
    EXPECT_EQ(ProgramTextLoadMessage(-4, ""), "Text not recovered.");
    EXPECT_EQ(ProgramTextLoadMessage(-8, ""), "General memory allocation error.");
}

TEST(ProgramText, EnormousFilesAndLinesAreRefusedWithACode) {
    std::string tooManyLines;
    for (int i = 1; i <= 501; ++i) tooManyLines += std::to_string(i) + "\tt\n";
    ProgramHarness many(tooManyLines.c_str());
    EXPECT_FALSE(many.Start());
    EXPECT_EQ(many.Ui().LastBox().text, "Too much program text.");

    std::string hugeLine = "1\t" + std::string(3u << 20, 'a');
    ProgramHarness huge(hugeLine.c_str());
    EXPECT_FALSE(huge.Start());
    EXPECT_EQ(huge.Ui().LastBox().text, "Too much program text.");
}
