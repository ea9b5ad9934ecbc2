// After a purge, the file's former contents are nowhere on the device: a raw
// file system image is searched for them. Needs root to mount the image.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "TorvixTestSupport.h"
#include "torvix/posix_file_layer.h"
#include "torvix/purge_batch.h"
#include "torvix/purge_engine.h"

using namespace torvix_test;

namespace {

class ForensicTest : public testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a file system image";
        image_ = folder_.path() + "/disk.img";
        mountPoint_ = folder_.path() + "/mnt";
        std::filesystem::create_directory(mountPoint_);
        std::filesystem::resize_file(folder_.File("disk.img", ""), 32 << 20);
        if (!Run("mkfs.ext4 -q -F " + image_)) GTEST_SKIP() << "no mkfs.ext4";
        if (!Mount()) GTEST_SKIP() << "cannot mount a loop device here";
    }
    void TearDown() override {
        if (mounted_) Unmount();
    }
    static bool Run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }
    bool Mount() { return mounted_ = Run("mount -o loop " + image_ + " " + mountPoint_); }
    void Unmount() { mounted_ = !Run("umount " + mountPoint_) && !Run("umount -l " + mountPoint_); }
    std::string Marker(char which) const {
        std::string unit =
            "<<kestrane marker " + std::string(1, which) + " " + std::to_string(getpid()) + ">>";
        std::string marker;
        while (marker.size() < (300 << 10)) marker += unit;
        return marker;
    }

    TempFolder folder_;
    std::string image_, mountPoint_;
    bool mounted_ = false;
};

TEST_F(ForensicTest, PurgedContentsAreNowhereOnTheDevice) {
    std::ofstream(mountPoint_ + "/kept.doc") << Marker('A');
    std::ofstream(mountPoint_ + "/deleted.doc") << Marker('B');
    Unmount();
    std::string raw = ReadFile(image_);
    ASSERT_NE(raw.find(Marker('A').substr(0, 64)), std::string::npos) << "the test cannot see data";
    ASSERT_TRUE(Mount());

    torvix::PosixFileLayer layer;
    auto random = torvix::MakeCryptoRandomSource();
    EXPECT_EQ(torvix::PurgeOneFile(mountPoint_ + "/kept.doc", {.purgeType = 2}, layer, *random), 0);
    EXPECT_EQ(torvix::PurgeOneFile(mountPoint_ + "/deleted.doc",
                                   {.purgeType = 0, .deleteWhenDone = true}, layer, *random),
              0);
    Unmount();
    ASSERT_FALSE(mounted_);
    raw = ReadFile(image_);
    for (char which : {'A', 'B'})
        EXPECT_EQ(raw.find(Marker(which).substr(0, 32)), std::string::npos) << which;
}

TEST_F(ForensicTest, FilesPurgedTogetherLeaveNothingOfTheirContents) {
    // Small files of every size up to a few blocks, as batches take them.
    std::vector<torvix::BatchFile> files;
    for (int i = 0; i < 24; ++i) {
        const std::string name = "note " + std::to_string(i) + ".txt";
        std::ofstream(mountPoint_ + "/" + name) << Marker('C').substr(0, 40 + i * 700);
        files.push_back({name});
    }
    Unmount();
    ASSERT_NE(ReadFile(image_).find(Marker('C').substr(0, 32)), std::string::npos);
    ASSERT_TRUE(Mount());

    torvix::PosixFileLayer layer;
    torvix::Handle folder = torvix::kNoHandle;
    std::string name;
    ASSERT_EQ(layer.OpenParentFolder(mountPoint_ + "/note 0.txt", &folder, &name), 0);
    for (auto& file : files) {
        torvix::FileFacts facts;
        ASSERT_EQ(layer.StatAt(folder, file.name, &facts), 0);
        file.seen = {facts.device, facts.inode};
    }
    torvix::PurgeBatchAt(folder, files, {.purgeType = 0, .deleteWhenDone = true}, layer,
                         torvix::MakeCryptoRandomSource, torvix::kBatchWorkers);
    layer.Close(folder);
    for (const auto& file : files) EXPECT_EQ(file.result, 0) << file.name;
    Unmount();
    ASSERT_FALSE(mounted_);
    EXPECT_EQ(ReadFile(image_).find(Marker('C').substr(0, 32)), std::string::npos);
}

}  // namespace
