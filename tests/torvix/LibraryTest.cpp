// The built libtorvix.so, loaded the way purge loads it: by file name from
// the executable's own folder, each export bound by name.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <limits>
#include <memory>
#include <set>

#include "TorvixTestSupport.h"

using namespace torvix_test;

namespace {

using PurgeFn = int32_t (*)(const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t*);
using PurgeAtFn = int32_t (*)(intptr_t, const char*, uint64_t, uint64_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, int32_t, int32_t*);
using LoadTextsFn = int32_t (*)(const char*, int32_t);

template <typename Function>
Function Bind(const char* name) {
    std::string folder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    void* library = dlopen((folder + "/libtorvix.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    return reinterpret_cast<Function>(dlsym(library, name));
}

PurgeFn LoadPurge() { return Bind<PurgeFn>("kz_purge_file"); }

class LibraryTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(purge, nullptr) << dlerror(); }
    int32_t Purge(const std::string& path, int32_t type, int32_t deleteIt = 0, int32_t slack = 0,
                  int32_t cluster = -1) {
        seconds = 77;
        return purge(path.c_str(), type, 1, deleteIt, 1, slack, cluster, &seconds);
    }
    static inline PurgeFn purge = LoadPurge();
    TempFolder folder;
    int32_t seconds = 0;
};

TEST_F(LibraryTest, TheFileHoldsThePassesLastOverwrite) {
    const std::size_t size = 4 << 20;
    std::string original(size, 'x');
    std::string path = folder.File("notes.txt", original);
    ASSERT_EQ(Purge(path, 1), 0);
    EXPECT_EQ(ReadFile(path), std::string(size, '\xF5'));
    EXPECT_EQ(seconds, 0);

    for (int32_t type : {0, 2}) {  // both end with random bytes
        ASSERT_EQ(Purge(path, type), 0);
        std::string first = ReadFile(path);
        ASSERT_EQ(Purge(path, type), 0);
        std::string second = ReadFile(path);
        ASSERT_EQ(first.size(), size);
        EXPECT_NE(first, second) << "a random overwrite repeated an earlier stream";
        std::set<std::string> blocks;
        for (std::size_t at = 0; at < size; at += 4096) blocks.insert(first.substr(at, 4096));
        EXPECT_EQ(blocks.size(), size / 4096) << "random bytes repeat over the file";
    }
}

TEST_F(LibraryTest, DeletingLeavesNoNameBehind) {
    folder.File("payroll march.csv", "salaries");
    ASSERT_EQ(Purge(folder.path() + "/payroll march.csv", 2, 1), 0);
    EXPECT_TRUE(Names(folder.path()).empty());
}

TEST_F(LibraryTest, SlackEmptyAndSparseFilesAreOverwrittenCompletely) {
    std::string slack = folder.File("slack", std::string(1000, 'x'));
    ASSERT_EQ(Purge(slack, 1, 0, 1, 4096), 0);
    EXPECT_EQ(ReadFile(slack), std::string(1000, '\xF5'));

    std::string empty = folder.File("empty", "");
    EXPECT_EQ(Purge(empty, 0, 0, 1, 512), 0);
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);

    std::string sparse = folder.File("sparse", "");
    std::filesystem::resize_file(sparse, 3 << 20);
    ASSERT_EQ(Purge(sparse, 1), 0);
    EXPECT_EQ(ReadFile(sparse), std::string(3 << 20, '\xF5'));
    struct stat info;
    ASSERT_EQ(stat(sparse.c_str(), &info), 0);
    EXPECT_GE(info.st_blocks * 512, 3 << 20) << "holes left unwritten";
}

TEST_F(LibraryTest, BadArgumentsAreRefusedBeforeTheFileIsTouched) {
    std::string path = folder.File("keep", "contents");
    struct Case {
        int32_t type, slack, cluster, code;
    };
    for (Case c : {Case{3, 0, -1, -8}, Case{-1, 0, -1, -8}, Case{0, 1, 0, -9}, Case{0, 1, -1, -9},
                   Case{0, 1, 511, -9}, Case{0, 1, 513, -9}, Case{0, 1, 768, -9},
                   Case{0, 1, 65536 + 512, -9}}) {
        EXPECT_EQ(Purge(path, c.type, 1, c.slack, c.cluster), c.code) << c.type << " " << c.cluster;
        EXPECT_EQ(seconds, 0);
    }
    EXPECT_EQ(ReadFile(path), "contents");
    EXPECT_EQ(purge(nullptr, 0, 1, 0, 1, 0, -1, &seconds), -1);
    EXPECT_EQ(purge(path.c_str(), 0, 0, 1, 1, 0, -1, nullptr), -1);  // no pass, no delete
    EXPECT_EQ(ReadFile(path), "contents");
}

TEST_F(LibraryTest, OnlyRegularFilesAreOpenedNeverThroughALinkNorBlocking) {
    std::string target = folder.File("target", "contents");
    std::string link = folder.path() + "/link";
    std::string fifo = folder.path() + "/fifo";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (std::string path : {link, fifo, folder.path(), folder.path() + "/missing", target + "/"})
        EXPECT_EQ(Purge(path, 1, 1), -2) << path;
    EXPECT_EQ(ReadFile(target), "contents");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

// Root only: a small tmpfs stands in for a full disk.
TEST_F(LibraryTest, AFullDiskFailsAWriteOfDataButOnlyGivesUpTheSlack) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a small tmpfs";
    std::string disk = folder.path() + "/disk";
    std::filesystem::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "no tmpfs";
    std::unique_ptr<const char, void (*)(const char*)> unmount(
        disk.c_str(), [](const char* at) { umount2(at, MNT_DETACH); });
    std::string small = disk + "/small";
    std::ofstream(small) << std::string(100, 'x');
    std::string sparse = disk + "/sparse";
    std::ofstream(sparse).close();
    std::filesystem::resize_file(sparse, 1 << 20);  // more than the disk holds
    EXPECT_EQ(Purge(sparse, 1), -3);
    std::filesystem::remove(sparse);

    std::ofstream filler(disk + "/filler");
    filler << std::string(1 << 20, 'f');  // fills the rest of the disk
    filler.close();
    // The slack behind the 100 bytes needs blocks the disk no longer has:
    // the bytes are overwritten and the file deleted all the same.
    EXPECT_EQ(Purge(small, 1, 1, 1, 65536), 1);
    EXPECT_FALSE(std::filesystem::exists(small));
}

}  // namespace

namespace {

class PurgeAtTest : public LibraryTest {
  protected:
    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_NE(purgeAt, nullptr) << dlerror();
        fd = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override { close(fd); }
    // Purges `name` as purge does: the identity is what it saw at the name.
    int32_t PurgeAt(const std::string& name, int32_t deleteIt, const std::string& seenAt = {}) {
        struct stat seen {};
        std::string look = seenAt.empty() ? name : seenAt;
        EXPECT_EQ(fstatat(fd, look.c_str(), &seen, AT_SYMLINK_NOFOLLOW), 0);
        return purgeAt(fd, name.c_str(), seen.st_dev, seen.st_ino, 2, 1, deleteIt, 1, 0, -1,
                       &seconds);
    }
    static inline PurgeAtFn purgeAt = Bind<PurgeAtFn>("kz_purge_file_at");
    int fd = -1;
};

TEST_F(PurgeAtTest, TheFileSeenIsPurgedAndTheCallersFolderStaysOpen) {
    folder.File("tax return.pdf", std::string(300000, 'x'));
    std::string kept = folder.File("kept", "kept");
    EXPECT_EQ(PurgeAt("tax return.pdf", 1), 0);
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"kept"});
    EXPECT_NE(fcntl(fd, F_GETFD), -1) << "the library closed the caller's folder";

    folder.File("other", "other");
    EXPECT_EQ(PurgeAt("kept", 1, "other"), -12);
    ASSERT_EQ(link(kept.c_str(), (folder.path() + "/second name").c_str()), 0);
    EXPECT_EQ(PurgeAt("kept", 1), -11);
    EXPECT_EQ(ReadFile(kept), "kept");
    EXPECT_EQ(ReadFile(folder.path() + "/other"), "other");
    EXPECT_EQ(purgeAt(fd, nullptr, 0, 0, 2, 1, 1, 1, 0, -1, &seconds), -1);
}

// The folder is one of the caller's open folders, all of the handle: a
// value whose low half is that descriptor, a negative one (AT_FDCWD, the
// folder the process is in, among them), a file's or a closed descriptor
// names no folder the caller opened, and nothing is touched.
TEST_F(PurgeAtTest, AHandleThatIsNoOpenFolderOfThisProcessIsRefused) {
    std::string victim = folder.File("victim", "victim data");
    struct stat seen {};
    ASSERT_EQ(fstatat(fd, "victim", &seen, AT_SYMLINK_NOFOLLOW), 0);
    const int file = open(victim.c_str(), O_RDONLY | O_CLOEXEC);
    const int closed = dup(fd);
    close(closed);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    for (intptr_t handle : {(intptr_t{1} << 32) | fd, std::numeric_limits<intptr_t>::min() | fd,
                            intptr_t{AT_FDCWD}, intptr_t{-1}, intptr_t{file}, intptr_t{closed}}) {
        EXPECT_EQ(purgeAt(handle, "victim", seen.st_dev, seen.st_ino, 2, 1, 1, 1, 0, -1, &seconds),
                  -2)
            << handle;
    }
    std::filesystem::current_path(before);
    close(file);
    EXPECT_EQ(ReadFile(victim), "victim data");
    EXPECT_EQ(PurgeAt("victim", 1), 0);
}

TEST_F(LibraryTest, APathThroughASymbolicLinkedFolderIsRefused) {
    std::filesystem::create_directories(folder.path() + "/real/deeper");
    std::string file = folder.File("real/deeper/kept", "kept");
    std::filesystem::create_directory_symlink("real", folder.path() + "/link");
    EXPECT_EQ(Purge(folder.path() + "/link/deeper/kept", 1, 1), -2);
    EXPECT_EQ(ReadFile(file), "kept");
    EXPECT_EQ(Purge(folder.path() + "/real/../real/deeper/kept", 1, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ProgramTextTest, OnlyARegularFileIsReadAndAFifoNeverBlocks) {
    LoadTextsFn load = Bind<LoadTextsFn>("lt");
    ASSERT_NE(load, nullptr) << dlerror();
    TempFolder folder;
    std::string texts = folder.File("kz_text.dat", "1\tKestrane\n");
    std::string fifo = folder.path() + "/fifo.dat";
    std::string link = folder.path() + "/link.dat";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink(texts.c_str(), link.c_str()), 0);
    EXPECT_EQ(load(texts.c_str(), 0), 1);
    for (std::string path : {link, folder.path(), std::string("/dev/zero")})
        EXPECT_EQ(load(path.c_str(), 0), -1) << path;

    auto reading = std::async(std::launch::async, [&] { return load(fifo.c_str(), 0); });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "lt blocked on a FIFO";
        close(open(fifo.c_str(), O_WRONLY));  // lets the reader go
    }
    EXPECT_EQ(reading.get(), -1);
}

// Root only: bind mounts of the same file system share its device number.
class BindMountTest : public LibraryTest {
  protected:
    bool BindMount(const std::string& from, const std::string& onto) {
        if (mount(from.c_str(), onto.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
        mounts_.push_back(onto);
        return true;
    }
    void TearDown() override {
        for (auto at = mounts_.rbegin(); at != mounts_.rend(); ++at)
            umount2(at->c_str(), MNT_DETACH);
    }
    std::vector<std::string> mounts_;
};

TEST_F(BindMountTest, AFileMountedOverANameIsRefusedButAMountedFolderOnTheWayIsNot) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to bind-mount";
    std::string outside = folder.File("outside.db", "outside data");
    std::filesystem::create_directories(folder.path() + "/tree");
    std::string name = folder.File("tree/notes.txt", "notes");
    if (!BindMount(outside, name)) GTEST_SKIP() << "cannot bind-mount here";
    EXPECT_EQ(Purge(name, 1, 1), -2);
    int fd = open((folder.path() + "/tree").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat seen {};
    ASSERT_EQ(fstatat(fd, "notes.txt", &seen, AT_SYMLINK_NOFOLLOW), 0);
    static PurgeAtFn purgeAt = Bind<PurgeAtFn>("kz_purge_file_at");
    EXPECT_EQ(purgeAt(fd, "notes.txt", seen.st_dev, seen.st_ino, 1, 1, 1, 1, 0, -1, &seconds), -12);
    close(fd);
    EXPECT_EQ(ReadFile(outside), "outside data");

    std::filesystem::create_directories(folder.path() + "/home");
    std::string mine = folder.File("tree/mine.txt", "mine");
    ASSERT_TRUE(BindMount(folder.path() + "/tree", folder.path() + "/home"));
    EXPECT_EQ(Purge(folder.path() + "/home/mine.txt", 1, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(mine));
}

}  // namespace
