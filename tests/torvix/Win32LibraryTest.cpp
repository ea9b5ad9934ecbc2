// The built torvix.dll, loaded the way purge loads it on Windows: with
// LoadLibraryW from the executable's own folder, each export bound by name.
// Paths cross as UTF-8, so names outside any ANSI code page can be purged.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "TorvixTestSupport.h"

using namespace torvix_test;

namespace {

using PurgeFn = int32_t (*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t*);
using PurgeAtFn = int32_t (*)(intptr_t, const char*, uint64_t, uint64_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, int32_t, int32_t*);
using LoadTextsFn = int32_t (*)(const char*, int32_t);
using GetTextFn = int32_t (*)(int32_t, int32_t, char*, int32_t, int32_t);

std::filesystem::path ProgramFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

template <typename Function>
Function Bind(const char* name) {
    static HMODULE library = LoadLibraryW((ProgramFolder() / L"torvix.dll").c_str());
    if (library == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

class Win32LibraryTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(purge, nullptr) << "torvix.dll not loaded: " << GetLastError();
        ASSERT_NE(purgeAt, nullptr);
    }
    int32_t Purge(const std::string& path, int32_t type, int32_t deleteIt = 0, int32_t slack = 0,
                  int32_t cluster = -1) {
        seconds = 77;
        return purge(path.c_str(), type, 1, deleteIt, 1, slack, cluster, &seconds);
    }
    // Identity as the program sees it: volume serial and file id of the name.
    bool Identity(const std::string& path, uint64_t* volume, uint64_t* id) {
        HANDLE file = CreateFileW(PathOf(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        FILE_ID_INFO info;
        bool ok = GetFileInformationByHandleEx(file, FileIdInfo, &info, sizeof info);
        CloseHandle(file);
        uint64_t low = 0, high = 0;
        std::memcpy(&low, info.FileId.Identifier, 8);
        std::memcpy(&high, info.FileId.Identifier + 8, 8);
        *volume = info.VolumeSerialNumber;
        *id = low ^ high;
        return ok;
    }
    static inline PurgeFn purge = Bind<PurgeFn>("kz_purge_file");
    static inline PurgeAtFn purgeAt = Bind<PurgeAtFn>("kz_purge_file_at");
    TempFolder folder;
    int32_t seconds = 0;
};

TEST_F(Win32LibraryTest, PatternsAndFreshRandomStreamsReachTheFile) {
    const std::size_t size = (1 << 20) + 123;
    std::string path = folder.File("notes.txt", std::string(size, 'x'));
    ASSERT_EQ(Purge(path, 1), 0);
    EXPECT_EQ(ReadFile(path), std::string(size, '\xF5'));
    EXPECT_EQ(seconds, 0);

    ASSERT_EQ(Purge(path, 0), 0);
    std::string first = ReadFile(path);
    ASSERT_EQ(Purge(path, 0), 0);
    std::string second = ReadFile(path);
    ASSERT_EQ(first.size(), size);
    EXPECT_NE(first, second) << "a random overwrite repeated an earlier stream";
    std::set<std::string> blocks;
    for (std::size_t at = 0; at + 4096 <= size; at += 4096) blocks.insert(first.substr(at, 4096));
    EXPECT_EQ(blocks.size(), size / 4096) << "random bytes repeat over the file";
}

TEST_F(Win32LibraryTest, ANameOutsideTheAnsiCodePageIsPurgedAndDeleted) {
    // Greek and CJK: no single ANSI code page holds both.
    const std::string name = "\xCE\x9C\xCF\x85\xCF\x83\xCF\x84\xCE\xB9\xCE\xBA\xCF\x8C "
                             "\xE7\xA7\x98\xE5\xAF\x86.txt";
    std::string path = folder.File(name, "the board's minutes");
    ASSERT_EQ(Names(folder.path()), std::vector<std::string>{name});
    EXPECT_EQ(Purge(path, 2, 1), 0);
    EXPECT_TRUE(Names(folder.path()).empty());

    // In a folder of such a name too, with the slack of its cluster.
    std::filesystem::create_directory(PathOf(folder.path() + "/" + name + " folder"));
    std::string inner = folder.File(name + " folder/" + name, std::string(1000, 'x'));
    EXPECT_EQ(Purge(inner, 1, 0, 1, 4096), 0);
    EXPECT_EQ(ReadFile(inner), std::string(1000, '\xF5'));
    EXPECT_EQ(Purge(inner, 1, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(PathOf(inner)));
}

TEST_F(Win32LibraryTest, WrongArgumentsFoldersAndReadOnlyFilesAreRefused) {
    std::string path = folder.File("keep", "contents");
    EXPECT_EQ(Purge(path, 3, 1), -8);
    EXPECT_EQ(Purge(path, 0, 1, 1, 513), -9);
    EXPECT_EQ(purge(nullptr, 0, 1, 0, 1, 0, -1, &seconds), -1);
    EXPECT_EQ(Purge(folder.path(), 1, 1), -2);
    EXPECT_EQ(Purge(folder.path() + "/missing", 1, 1), -2);
    EXPECT_EQ(Purge(path + ":stream", 1, 1), -2);
    EXPECT_EQ(Purge("\xFF\xFE invalid UTF-8", 1, 1), -2);

    std::string locked = folder.File("locked", "read-only");
    ASSERT_TRUE(SetFileAttributesW(PathOf(locked).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Purge(locked, 1, 1), -2);
    SetFileAttributesW(PathOf(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile(locked), "read-only");
    EXPECT_EQ(ReadFile(path), "contents");

    // Backslashes and ".." read as Windows reads them.
    std::string backslashed = folder.path() + "\\sub\\..\\keep";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(Purge(backslashed, 1, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(PathOf(path)));
}

TEST_F(Win32LibraryTest, PurgeAtActsOnTheFileSeenThroughTheCallersFolderHandle) {
    HANDLE handle = CreateFileW(PathOf(folder.path()).c_str(),
                                FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    auto folderHandle = reinterpret_cast<intptr_t>(handle);
    std::string secret = folder.File("tax return.pdf", std::string(300000, 'x'));
    std::string other = folder.File("other", "other");
    uint64_t volume = 0, id = 0, otherVolume = 0, otherId = 0;
    ASSERT_TRUE(Identity(secret, &volume, &id));
    ASSERT_TRUE(Identity(other, &otherVolume, &otherId));
    ASSERT_NE(id, otherId);

    EXPECT_EQ(purgeAt(folderHandle, "tax return.pdf", otherVolume, otherId, 1, 1, 1, 1, 0, -1,
                      &seconds),
              -12);
    EXPECT_EQ(ReadFile(secret), std::string(300000, 'x'));
    EXPECT_EQ(purgeAt(folderHandle, "tax return.pdf", volume, id, 2, 1, 1, 1, 0, -1, &seconds), 0);
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"other"});
    EXPECT_EQ(purgeAt(folderHandle, "..\\other", otherVolume, otherId, 1, 1, 1, 1, 0, -1, &seconds),
              -2);
    EXPECT_EQ(ReadFile(other), "other");
    // No open folder of the caller's: the pseudo-handles of the process and
    // the thread, none, and a file.
    HANDLE file = CreateFileW(PathOf(other).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    for (intptr_t notAFolder :
         {intptr_t{-1}, intptr_t{-2}, intptr_t{0}, reinterpret_cast<intptr_t>(file)}) {
        EXPECT_EQ(purgeAt(notAFolder, "other", otherVolume, otherId, 1, 1, 1, 1, 0, -1, &seconds),
                  -2)
            << notAFolder;
    }
    CloseHandle(file);
    EXPECT_EQ(ReadFile(other), "other");
    BY_HANDLE_FILE_INFORMATION stillOpen;
    EXPECT_TRUE(GetFileInformationByHandle(handle, &stillOpen)) << "the caller's folder was closed";
    CloseHandle(handle);
}

TEST(Win32ProgramTextTest, TheTextsBesideTheProgramLoadAndAFolderDoesNot) {
    auto load = Bind<LoadTextsFn>("lt");
    auto get = Bind<GetTextFn>("gt");
    ASSERT_NE(load, nullptr);
    ASSERT_NE(get, nullptr);
    std::string texts = Utf8Of(ProgramFolder() / L"kz_text.dat");
    EXPECT_GE(load(texts.c_str(), 0), 1);
    char buffer[1024];
    EXPECT_GT(get(1, 0, buffer, sizeof buffer, 0), 0);
    EXPECT_EQ(load(Utf8Of(ProgramFolder()).c_str(), 0), -1);
}

}  // namespace
