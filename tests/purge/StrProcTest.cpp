#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "tests/testsupport/TempDrive.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

struct MatchCase {
    const char* text;
    const char* pattern;
    bool caseSensitive;
    bool expected;
};

TEST(StrProc, WildcardMatch) {
    const MatchCase cases[] = {
        {"abc", "a?c", false, true},
        {"ac", "a?c", false, false},  // "?" is exactly one character
        {"anything", "", false, true},
        {"", "", false, true},
        {"", "***", false, true},
        {"", "*a", false, false},
        {"abc", "*c", false, true},
        {"abcabc", "*c", false, false},  // the star stops at the first c
        {"report", "*o", false, false},
        {"report", "r*t", false, true},
        {"xyz", "*", false, true},
        {"xy", "*?", false, true},  // nothing literal after the star: any text
        {"abx", "a*?x", false, false},  // the star and "?" both land on x
        {"ABC", "a*", false, true},
        {"ABC", "a*", true, false},
        {"abc", "abcd", false, false},
        {"abcd", "abc", false, false},
        {"\xC3\xA9t\xC3\xA9", "?t?", false, true},      // "été": a character is not a byte
        {"\xC3\x84RGER", "\xC3\xA4rger", false, true},  // Ä folds to ä
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.text, c.pattern, c.caseSensitive), c.expected)
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
    }
}

TEST(StrProc, NameMatchesSpec) {
    const MatchCase cases[] = {
        {"readme", "*.*", false, true},
        // A plain name selects the name that equals it byte for byte only.
        {"readme", "readme.", false, false},
        {"notes.txt", "notes.", false, false},
        {"y2.env", ".env", false, false},
        {".env", ".env", false, true},
        {"readme", "read*.", false, true},
        {"readme", "*.txt", false, false},
        {"readme", "*", false, true},
        {"readme.txt", "*", false, false},
        {"a.b.txt", "*.txt", false, true},  // split at the last dot
        {"a.b.txt", "*.b", false, false},
        {"a.b.txt", "a.b.*", false, true},
        {".bashrc", "*.*", false, true},
        {".bashrc", "a*.*", false, false},
        {"FILE.TXT", "*.txt", false, true},
        {"FILE.TXT", "*.txt", true, false},
        {"report.doc", "*o.doc", false, false},
        // Every character of a POSIX name is an ordinary one to a pattern.
        {"a?b.txt", "*.*", false, true},
        {"a*b.txt", "*.*", false, true},
        {"log 12:30.txt", "*.txt", false, true},
        {"a\\b.txt", "*.*", false, true},
        {"data.txt", "data.t?t", false, true},
        // A plain name selects exactly that file, even where case is folded.
        {"Secret.txt", "Secret.txt", false, true},
        {"secret.txt", "Secret.txt", false, false},
        {"SECRET.TXT", "secret.txt", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameMatchesSpec(c.text, c.pattern, c.caseSensitive), c.expected)
            << "name '" << c.text << "' spec '" << c.pattern << "'";
    }
    EXPECT_TRUE(HasWildcards("a?"));
    EXPECT_TRUE(HasWildcards("*"));
    EXPECT_FALSE(HasWildcards("a.b"));
}

TEST(StrProc, FormatMinutesAndSeconds) {
    EXPECT_EQ(FormatMinutes(0, true), "0 minutes");
    EXPECT_EQ(FormatMinutes(0, false), "0m");
    EXPECT_EQ(FormatMinutes(1440, true), "1 day");
    EXPECT_EQ(FormatMinutes(1500, false), "1d 1h");
    EXPECT_EQ(FormatMinutes(2 * 1440 + 5, true), "2 days and 5 minutes");
    EXPECT_EQ(FormatMinutes(61, true), "1 hour and 1 minute");
    EXPECT_EQ(FormatMinutes(59, false), "59m");

    struct {
        std::int32_t seconds;
        bool longForm;
        bool roundUp;
        const char* expected;
    } cases[] = {
        {0, true, false, "0 seconds"},
        {1, true, false, "1 second"},
        {59, false, false, "59s"},
        {30, true, true, "30 seconds"},  // below a minute nothing rounds
        {60, true, false, "1 minute"},
        {75, true, false, "1 minute and 15 seconds"},
        {75, false, false, "1m 15s"},
        {90061, true, false, "1 day and 1 hour and 1 minute and 1 second"},
        {90061, false, false, "1d 1h 1m 1s"},
        {3600, true, true, "1 hour and 1 minute"},
        {120, true, true, "3 minutes"},
        {125, false, true, "3m"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSeconds(c.seconds, c.longForm, c.roundUp), c.expected) << c.seconds;
    }
    EXPECT_EQ(FormatSecondsRoundUp(3600, true), "1 hour and 1 minute");
}

TEST(StrProc, PathPiecesKeepTheCaseThatReachesTheFile) {
    EXPECT_EQ(NormalizePathCase("c:\\Users\\Secret"), "C:\\Users\\Secret");
    EXPECT_EQ(NormalizePathCase("Users\\Secret"), "Users\\Secret");
    EXPECT_EQ(FolderOfPath("d:\\Docs\\Report.DOC"), "D:\\Docs\\");
    EXPECT_EQ(FolderOfPath("Report.DOC"), "");
    EXPECT_EQ(FileNameOfPath("C:\\Docs\\Report.DOC", true), "Report.DOC");
    EXPECT_EQ(FileNameOfPath("Report.DOC", false), "");
    EXPECT_EQ(FileNameOfPath("C:\\Docs\\", false), "");

    EXPECT_EQ(FileExtension("C:\\Docs\\A.B.DOC", true), "doc");
    EXPECT_EQ(FileExtension("C:\\Docs\\A.B.DOC", false), "DOC");
    EXPECT_EQ(FileExtension("C:\\my.docs\\readme", true), "");  // a dot of the folder
    EXPECT_EQ(FileExtension("archive.TAR", true), "tar");
    EXPECT_EQ(FileExtension("C:\\x\\\xC3\x89T\xC3\x89.\xC3\x89X", true), "\xC3\xA9x");

    EXPECT_EQ(DriveDesignation("d"), "D:");
    EXPECT_EQ(DriveDesignation("e:\\folder"), "E:");
    EXPECT_EQ(DriveDesignation(""), "");
}

TEST(StrProc, EditsInPlace) {
    std::string text("line \t\r\n\0", 10);
    TrimTrailingBlanks(text);
    EXPECT_EQ(text, "line");
    std::string blank = " \r\n";
    TrimTrailingBlanks(blank);
    EXPECT_EQ(blank, "");

    std::string chars =
        "a-b_c-\xC3\xA9"
        "e";
    RemoveChars(chars, "-_\xC3\xA9");
    EXPECT_EQ(chars, "abce");
}

TEST(StrProc, ShortenPath) {
    std::string hundred = "C:\\" + std::string(97, 'x');
    EXPECT_EQ(ShortenPath(hundred, 100), hundred);

    // 39 characters, maximum 24: head and tail of 12 each, cut at
    // backslashes.
    std::string path = "C:\\data\\projects\\alpha\\beta\\reports.txt";
    ASSERT_EQ(path.size(), 39u);
    EXPECT_EQ(ShortenPath(path, 24), "C:\\data\\...\\reports.txt");
    // A head whose only backslash is the drive's stays whole; a tail without
    // a backslash stays whole too.
    EXPECT_EQ(ShortenPath("C:\\abcdefghijklmnopqrstuvwxyz", 10), "C:\\ab...vwxyz");
    // Half of 9 is 4.5, rounded to the even 4; half of 11 is 5.5, to 6.
    EXPECT_EQ(ShortenPath("abcdefghijklmnop", 9), "abcd...mnop");
    EXPECT_EQ(ShortenPath("abcdefghijklmnop", 11), "abcdef...klmnop");
    // Characters, not bytes: an accented letter is never cut in half.
    std::string accented = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";  // six é
    EXPECT_EQ(ShortenPath(accented, 4), "\xC3\xA9\xC3\xA9...\xC3\xA9\xC3\xA9");
    EXPECT_EQ(ShortenPath(accented, 6), accented);
    EXPECT_EQ(ShortenPath("abc", -1), "...");
}

TEST(StrProc, IsMonitoredExtension) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\a\\book.xls", true}, {"C:\\a\\OLD.OVL", true},
        {"x.XlA", true},           {"x.doc", true},
        {"x.386", true},           {"x.exe", true},
        {"x.txt", false},          {"x.html", false},
        {"x.do", false},           {"C:\\x.doc\\file", false},
        {"noextension", false},    {"x.", false},
        {"book.xlsx", false},      {"old.ovlx", false},  // only three letters count
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(IsMonitoredExtension(path), expected) << path;
    }
}

TEST(StrProc, VisibleTextEscapesWhatCouldForgeOrHideALine) {
    EXPECT_EQ(VisibleText("a\nb\rc\td\x1b[2K\x7f"), "a\\nb\\rc\\td\\x1b[2K\\x7f");
    EXPECT_EQ(VisibleText("bad \xff\xc3 end"), "bad \\xff\\xc3 end");  // stray bytes
    EXPECT_EQ(VisibleText("\xc2\x85"), "\\xc2\\x85");  // a C1 control character
    EXPECT_EQ(VisibleText("C:\\caf\xc3\xa9 \xe2\x82\xac.txt"), "C:\\caf\xc3\xa9 \xe2\x82\xac.txt");
}

TEST(StrProc, FileIsPresentOnlyForRegularFiles) {
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\data\\f.txt", "x");
    if (testing_support::kHasFifosAndLinks) {
        ASSERT_TRUE(testing_support::MakeSymbolicLink(drives.Native("C:\\data\\f.txt"),
                                                      drives.Native("C:\\data\\link.txt")));
        ASSERT_TRUE(testing_support::MakeFifo(drives.Native("C:\\data\\pipe")));
    }
    EXPECT_TRUE(FileIsPresent("C:\\data\\f.txt"));
    EXPECT_EQ(FileIsPresent("C:\\data\\F.TXT"), !testing_support::kCaseSensitiveNames);
    EXPECT_FALSE(FileIsPresent("C:\\data"));
    EXPECT_FALSE(FileIsPresent("C:\\data\\link.txt"));
    EXPECT_FALSE(FileIsPresent("C:\\data\\pipe"));
    EXPECT_FALSE(FileIsPresent("Q:\\data\\f.txt"));
}

TEST(UnicodeText, StrayBytesSurviveDecodingAndCaseChanges) {
    // A Latin-1 file name is not UTF-8; its bytes must come back unchanged.
    std::string latin1 = "R\xC9SUM\xC9.TXT";
    EXPECT_EQ(EncodeUtf8(DecodeUtf8(latin1)), latin1);
    EXPECT_EQ(LowerCase(latin1), "r\xC9sum\xC9.txt");
    EXPECT_EQ(DecodeUtf8(latin1).size(), latin1.size());
    // Overlong and surrogate encodings are bytes, not characters.
    for (std::string odd : {std::string("\xC0\xAF"), std::string("\xED\xA0\x80"),
                            std::string("\xF4\x90\x80\x80"), std::string("\xE2\x82")}) {
        EXPECT_EQ(DecodeUtf8(odd).size(), odd.size());
        EXPECT_EQ(EncodeUtf8(DecodeUtf8(odd)), odd);
    }
    EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80").size(), 1u);
    EXPECT_EQ(UpperCase("stra\xC3\x9F"
                        "e \xCF\x83"),
              "STRA\xC3\x9F"
              "E \xCE\xA3");
}

}  // namespace
