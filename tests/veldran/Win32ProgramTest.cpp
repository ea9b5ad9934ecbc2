// The built veldran.exe run as a process on Windows (or under Wine): its
// texts, its exit codes as Windows reports them (negative), and names
// outside the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                     nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

struct ProgramRun {
    std::string output;
    long exitCode;  // as GetExitCodeProcess gives it, read as signed
};

// Runs veldran.exe in `folder` with `args`, standard input empty.
ProgramRun RunVeldran(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    std::wstring commandLine = L"veldran.exe";
    for (const std::string& arg : args) commandLine += L" \"" + Wide(arg) + L"\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readOut = nullptr, writeOut = nullptr;
    EXPECT_TRUE(CreatePipe(&readOut, &writeOut, &inherit, 0));
    SetHandleInformation(readOut, HANDLE_FLAG_INHERIT, 0);
    HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = writeOut;
    startup.hStdError = writeOut;
    PROCESS_INFORMATION process{};
    // veldran.exe lies beside this test program.
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program =
        (std::filesystem::path(std::wstring(self, length)).parent_path() / VELDRAN_PROGRAM_W)
            .wstring();
    ProgramRun run{"", 999};
    bool started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                  nullptr, folder.wstring().c_str(), &startup, &process);
    CloseHandle(writeOut);
    CloseHandle(nothing);
    EXPECT_TRUE(started) << "cannot start " << GetLastError();
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readOut, buffer, sizeof buffer, &got, nullptr) && got > 0)
            run.output.append(buffer, got);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        run.exitCode = static_cast<LONG>(code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readOut);
    return run;
}

class Win32ProgramTest : public testing::Test {
  protected:
    void SetUp() override {
        std::random_device entropy;
        folder_ = std::filesystem::temp_directory_path() /
                  ("veldran-test-" + std::to_string(entropy()));
        ASSERT_TRUE(std::filesystem::create_directory(folder_));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::filesystem::path Path(const std::string& utf8) const {
        return folder_ / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ostringstream contents;
        contents << std::ifstream(Path(name), std::ios::binary).rdbuf();
        return contents.str();
    }
    std::filesystem::path folder_;
};

TEST_F(Win32ProgramTest, UsageWildcardsAndMissingFilesGiveTheirNegativeCodes) {
    ProgramRun usage = RunVeldran(folder_, {});
    EXPECT_EQ(usage.exitCode, 0);
    EXPECT_NE(usage.output.find("Use: VELDRAN filename [num_writes]"), std::string::npos);

    ProgramRun wildcard = RunVeldran(folder_, {"swap?.sys"});
    EXPECT_EQ(wildcard.exitCode, -7);
    EXPECT_EQ(wildcard.output, "Wildcard characters not permitted.\n");

    ProgramRun missing = RunVeldran(folder_, {"missing.swp", "4"});
    EXPECT_EQ(missing.exitCode, -1);
    EXPECT_NE(missing.output.find("\nFile not found.\n"), std::string::npos);
}

TEST_F(Win32ProgramTest, AFileIsWipedAndDeletedAndAReadOnlyOneOrAFolderIsKept) {
    Write("pagefile.sys", std::string(65537, 's'));
    ProgramRun wiped = RunVeldran(folder_, {"pagefile.sys", "5", "ignored"});
    EXPECT_EQ(wiped.exitCode, 0) << wiped.output;
    EXPECT_EQ(wiped.output,
              "File pagefile.sys will be overwritten 5 times."
              "\n1st overwrite with byte 0 ...\n2nd overwrite with byte 0xFF ..."
              "\nOverwrite #3 with random bytes ...\nOverwrite #4 with random bytes ..."
              "\nOverwrite #5 with random bytes ...\nThe file pagefile.sys has been wiped.\n");
    EXPECT_FALSE(std::filesystem::exists(Path("pagefile.sys")));

    Write("locked.swp", "keep me");
    ASSERT_TRUE(SetFileAttributesW(Path("locked.swp").c_str(), FILE_ATTRIBUTE_READONLY));
    ProgramRun locked = RunVeldran(folder_, {"locked.swp"});
    EXPECT_EQ(locked.exitCode, -2);
    EXPECT_NE(locked.output.find("\nUnable to open file.\n"), std::string::npos);
    SetFileAttributesW(Path("locked.swp").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Read("locked.swp"), "keep me");

    std::filesystem::create_directory(Path("folder"));
    EXPECT_EQ(RunVeldran(folder_, {"folder"}).exitCode, -2);
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder")));
}

TEST_F(Win32ProgramTest, ANameOutsideTheAnsiCodePageIsWipedByItsFullPath) {
    // Greek and CJK: no single ANSI code page holds both.
    const std::string name = "\xCE\xA3\xCE\xB5\xCE\xBB\xCE\xAF\xCE\xB4\xCE\xB1 "
                             "\xE4\xBA\xA4\xE6\x8F\x9B.swp";
    std::filesystem::create_directory(Path("sub"));
    Write("sub/" + name, std::string(1000, 'x'));
    std::u8string full = Path("sub/" + name).u8string();
    ProgramRun run = RunVeldran(folder_, {std::string(full.begin(), full.end())});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(std::filesystem::exists(Path("sub/" + name)));
    EXPECT_NE(run.output.find("The file "), std::string::npos);
    EXPECT_NE(run.output.find(name), std::string::npos) << "the name was not shown as it is";
}

}  // namespace
