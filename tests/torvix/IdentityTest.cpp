// The engine acts on exactly the file it looked at: another file swapped in
// under the name at any step, a second hard link, a file that grows while it
// is overwritten, and a symbolic link anywhere in a path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "TorvixTestSupport.h"
#include "torvix/posix_folder_path.h"
#include "torvix/purge_engine.h"

using namespace torvix;
using namespace torvix_test;

namespace {

const std::string kMine = "quarterly.xlsx";
const std::string kBystander = "bystander.txt";
const std::string kBystanderBytes = "not part of the selection";

enum class Moment { kBeforeOpen, kBeforeFirstRename, kBeforeSecondRename, kBeforeUnlink };

// Exchanges the purged file's name with a bystander's at one moment, as
// another process could, so the bystander is then under the name checked.
class SwappingLayer : public PosixFileLayer {
  public:
    explicit SwappingLayer(Moment when) : when_(when) {}

    int OpenForOverwrite(Handle folder, const std::string& name, Handle* file) override {
        if (when_ == Moment::kBeforeOpen) Swap(folder, name);
        return PosixFileLayer::OpenForOverwrite(folder, name, file);
    }
    int Truncate(Handle file, uint64_t length) override {
        int error = PosixFileLayer::Truncate(file, length);
        if (when_ == Moment::kBeforeFirstRename && length == 0) Swap(folder_, kMine);
        return error;
    }
    int RenameAt(Handle folder, const std::string& from, const std::string& to) override {
        int error = PosixFileLayer::RenameAt(folder, from, to);
        if (error == 0 && ++renames_ == 1 && when_ == Moment::kBeforeSecondRename) Swap(folder, to);
        current_ = to;
        return error;
    }
    int SyncFolder(Handle folder) override {
        if (when_ == Moment::kBeforeUnlink && !swapped_) Swap(folder, current_);
        return PosixFileLayer::SyncFolder(folder);
    }
    Handle folder_ = kNoHandle;
    bool swapped_ = false;

  private:
    void Swap(Handle folder, const std::string& name) {
        ASSERT_EQ(renameat2(static_cast<int>(folder), name.c_str(), static_cast<int>(folder),
                            kBystander.c_str(), RENAME_EXCHANGE),
                  0);
        swapped_ = true;
    }
    Moment when_;
    int renames_ = 0;
    std::string current_;
};

int OpenFolder(const std::string& path) { return open(path.c_str(), O_RDONLY | O_DIRECTORY); }

FileIdentity IdentityOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0);
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

// Finds the bystander by its bytes, under whatever name the swaps left it.
bool BystanderIntact(const std::string& folder) {
    for (const std::string& name : Names(folder))
        if (ReadFile(folder + "/" + name) == kBystanderBytes) return true;
    return false;
}

struct Swap {
    const char* what;
    Moment when;
    bool byPath;
    int32_t code;
};

class SwapTest : public testing::TestWithParam<Swap> {};

TEST_P(SwapTest, AFileSwappedInUnderTheNameIsNeverTouched) {
    const Swap& swap = GetParam();
    TempFolder folder;
    folder.File(kMine, std::string(50000, 'x'));
    folder.File(kBystander, kBystanderBytes);
    SwappingLayer layer(swap.when);
    KnownRandom random;
    PurgeRequest request{.purgeType = 1, .deleteWhenDone = true};
    int fd = OpenFolder(folder.path());
    layer.folder_ = fd;
    int32_t result = swap.byPath
                         ? PurgeOneFile(folder.path() + "/" + kMine, request, layer, random)
                         : PurgeOneFileAt(fd, kMine, IdentityOf(folder.path() + "/" + kMine),
                                          request, layer, random);
    close(fd);
    EXPECT_EQ(result, swap.code);
    EXPECT_TRUE(layer.swapped_);
    EXPECT_TRUE(BystanderIntact(folder.path()));
    EXPECT_EQ(Names(folder.path()).size(), 2u);
    if (swap.when == Moment::kBeforeOpen) {
        EXPECT_EQ(ReadFile(folder.path() + "/" + kBystander), std::string(50000, 'x'));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, SwapTest,
    testing::Values(Swap{"BeforeTheOpenByFolder", Moment::kBeforeOpen, false, -12},
                    Swap{"BeforeTheOpenByPath", Moment::kBeforeOpen, true, -2},
                    Swap{"BeforeTheFirstRename", Moment::kBeforeFirstRename, false, -5},
                    Swap{"BeforeTheSecondRename", Moment::kBeforeSecondRename, false, -5},
                    Swap{"BeforeTheRemoval", Moment::kBeforeUnlink, true, -6}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(IdentityTest, AnotherFileAtTheNameThanTheCallerSawIsNotTouched) {
    TempFolder folder;
    std::string mine = folder.File(kMine, "mine");
    folder.File(kBystander, kBystanderBytes);
    PosixFileLayer layer;
    KnownRandom random;
    int fd = OpenFolder(folder.path());
    FileIdentity seen = IdentityOf(folder.path() + "/" + kBystander);
    EXPECT_EQ(PurgeOneFileAt(fd, kMine, seen, {.deleteWhenDone = true}, layer, random), -12);
    for (std::string bad : {"", ".", "..", "../x", "sub/x"})
        EXPECT_EQ(PurgeOneFileAt(fd, bad, IdentityOf(mine), {}, layer, random), -2) << bad;
    close(fd);
    EXPECT_EQ(ReadFile(mine), "mine");
    EXPECT_EQ(ReadFile(folder.path() + "/" + kBystander), kBystanderBytes);
}

TEST(IdentityTest, AFileWithAnotherHardLinkKeepsItsBytesUnderBothNames) {
    TempFolder folder;
    std::string mine = folder.File(kMine, "shared data");
    std::string other = folder.path() + "/elsewhere";
    ASSERT_EQ(link(mine.c_str(), other.c_str()), 0);
    PosixFileLayer layer;
    KnownRandom random;
    EXPECT_EQ(PurgeOneFile(mine, {.deleteWhenDone = true}, layer, random), -11);
    int fd = OpenFolder(folder.path());
    EXPECT_EQ(PurgeOneFileAt(fd, kMine, IdentityOf(mine), {}, layer, random), -11);
    close(fd);
    EXPECT_EQ(ReadFile(mine), "shared data");
    EXPECT_EQ(ReadFile(other), "shared data");
}

// Appends to the file behind the engine's back after some of its writes.
class GrowingLayer : public RecordingFileLayer {
  public:
    GrowingLayer(const std::string& path, int appends, std::size_t bytes)
        : appender_(open(path.c_str(), O_WRONLY | O_APPEND)), appends_(appends), bytes_(bytes) {}
    ~GrowingLayer() override { close(appender_); }
    int WriteAt(Handle file, const unsigned char* data, std::size_t size, uint64_t offset,
                std::size_t* written) override {
        int error = RecordingFileLayer::WriteAt(file, data, size, offset, written);
        if (appends_ != 0) {
            if (appends_ > 0) --appends_;
            std::string growth(bytes_, 'g');
            EXPECT_EQ(write(appender_, growth.data(), growth.size()), ssize_t(growth.size()));
        }
        return error;
    }

  private:
    int appender_;
    int appends_;  // -1: for ever
    std::size_t bytes_;
};

TEST(GrowthTest, BytesAppendedDuringAnOverwriteGetTheSameOverwrite) {
    TempFolder folder;
    {
        std::string path = folder.File("pattern", std::string(100000, 'x'));
        GrowingLayer layer(path, 3, 7000);
        KnownRandom random;
        ASSERT_EQ(PurgeOneFile(path, {.purgeType = 1}, layer, random), 0);
        for (const auto& overwrite : layer.Overwrites()) EXPECT_EQ(overwrite.size(), 121000u);
        EXPECT_EQ(ReadFile(path), std::string(121000, '\xF5'));
    }
    {
        // Large enough for the stream to be generated ahead by a second thread.
        std::string path = folder.File("random", std::string(3 << 19, 'x'));
        GrowingLayer layer(path, 2, 5000);
        KnownRandom random;
        ASSERT_EQ(PurgeOneFile(path, {.purgeType = 0}, layer, random), 0);
        std::vector<unsigned char> stream((3 << 19) + 10000);
        for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = KnownRandom::Byte(1, i);
        auto overwrites = layer.Overwrites();
        ASSERT_EQ(overwrites.size(), 1u);
        EXPECT_TRUE(overwrites[0] == stream) << "the random stream did not simply go on";
    }
    {
        // Bytes appended after the data's first write are data: the slack
        // write behind the old end covers some, the next round the rest and
        // the new slack, and the file keeps them all, overwritten.
        std::string path = folder.File("slack", std::string(1000, 'x'));
        GrowingLayer layer(path, 1, 5000);
        KnownRandom random;
        PurgeRequest request{.purgeType = 1, .purgeSlack = true, .clusterSize = 4096};
        ASSERT_EQ(PurgeOneFile(path, request, layer, random), 0);
        for (const auto& overwrite : layer.Overwrites()) EXPECT_EQ(overwrite.size(), 8192u);
        EXPECT_EQ(ReadFile(path), std::string(6000, '\xF5'));
    }
}

TEST(GrowthTest, AFileThatKeepsGrowingIsReportedAndKept) {
    TempFolder folder;
    std::string path = folder.File(kMine, std::string(10000, 'x'));
    GrowingLayer layer(path, -1, 1000);
    KnownRandom random;
    EXPECT_EQ(PurgeOneFile(path, {.purgeType = 1, .deleteWhenDone = true}, layer, random), -10);
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{kMine});
}

// kz_purge_file's own refusal of such a path: LibraryTest.
TEST(PathTest, NoComponentOfAFolderPathIsASymbolicLink) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() + "/real/sub");
    std::filesystem::create_directory_symlink("real", folder.path() + "/link");
    for (auto open : {OpenFolderWithoutLinks, OpenFolderByWalk}) {
        int fd = -1;
        EXPECT_NE(open(folder.path() + "/link/sub", &fd), 0);
        EXPECT_NE(open(folder.path() + "/link", &fd), 0);
        ASSERT_EQ(open(folder.path() + "/real/./sub/", &fd), 0);
        close(fd);
    }
}

}  // namespace
