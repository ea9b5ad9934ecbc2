#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "Helpers.h"
#include "veldran/PassData.h"
#include "veldran/Wipe.h"

namespace veldran {
namespace {

using veldran_test::ReadAll;
using veldran_test::WordAt;

// Keeps what the file holds each time a pass is announced, that is after
// every pass but the last.
class SnapshotConsole final : public Console {
  public:
    explicit SnapshotConsole(std::string path) : path_(std::move(path)) {}
    void Write(std::string_view) override {
        if (announcements_++ > 0) snapshots.push_back(ReadAll(path_));
    }
    bool EscapePressed() override { return false; }
    std::vector<std::string> snapshots;

  private:
    std::string path_;
    int announcements_ = 0;
};

std::vector<uint32_t> SortedWords(const std::string& bytes, std::size_t block) {
    std::vector<uint32_t> words;
    for (std::size_t i = 0; i < kBlockWords; ++i)
        words.push_back(WordAt(bytes, block * kBlockWords + i));
    std::sort(words.begin(), words.end());
    return words;
}

TEST(VeldranWipe, PassesWriteZerosThenOnesThenTheGeneratorsWords) {
    veldran_test::TempFolder folder;
    const std::string path = folder.Path("swap");
    veldran_test::WriteAll(path, std::string(65537, 'A'));
    SnapshotConsole console(path);
    SeedGenerator seeds(1);  // pass 3 is seeded with 6334

    EXPECT_EQ(Wipe(path, 4, seeds, console, NativeFileSystem()), Result::kWiped);
    EXPECT_FALSE(veldran_test::Exists(path));
    ASSERT_EQ(console.snapshots.size(), 3u);
    EXPECT_EQ(console.snapshots[0], std::string(131072, '\x00'));
    EXPECT_EQ(console.snapshots[1], std::string(131072, '\xFF'));

    const std::string& random = console.snapshots[2];
    ASSERT_EQ(random.size(), 131072u);
    // The pass's words are the draws from 6334; block 0 walks them with
    // stride 105, block 1 with stride 91 (worked out by hand).
    EXPECT_EQ(WordAt(random, 0), 0x2445FB69u);     // draw 1
    EXPECT_EQ(WordAt(random, 1), 0x6479EDA0u);     // draw 106
    EXPECT_EQ(WordAt(random, 4095), 0xA3CC6116u);  // draw 1 + 4095 * 105 % 4096
    EXPECT_EQ(WordAt(random, 4096), 0x2445FB69u);
    EXPECT_EQ(WordAt(random, 4097), 0x7AFCECDAu);  // draw 92
    for (std::size_t block = 1; block < 8; ++block) {
        EXPECT_EQ(SortedWords(random, block), SortedWords(random, 0)) << "block " << block;
    }
}

// A file system in memory: counts what each pass writes, and fails to flush
// on request. (Failed writes and deletions are run for real by the program
// tests.)
class FakeFiles final : public FileSystem {
  public:
    int flushesBeforeFailure = INT32_MAX;
    int64_t roomLeft = INT64_MAX;  // bytes the disk takes before writes fall short
    int opens = 0;
    std::vector<int64_t> writtenPerPass;
    bool removed = false;

    std::unique_ptr<WipeFile> Open(const std::string&, OpenError*) override {
        ++opens;
        return std::make_unique<File>(*this);
    }

  private:
    struct File final : WipeFile {
        explicit File(FakeFiles& files) : files(files) {}
        int64_t Length() const override { return 100000; }
        // Each pass starts at the first byte.
        std::size_t Write(int64_t offset, const uint8_t*, std::size_t size) override {
            if (offset == 0) files.writtenPerPass.push_back(0);
            const auto done = static_cast<std::size_t>(
                std::min<int64_t>(static_cast<int64_t>(size), files.roomLeft));
            files.roomLeft -= static_cast<int64_t>(done);
            files.writtenPerPass.back() += static_cast<int64_t>(done);
            return done;
        }
        bool Flush() override { return files.flushesBeforeFailure-- > 0; }
        bool Remove() override { return files.removed = true; }
        FakeFiles& files;
    };
};

class KeyConsole final : public Console {
  public:
    explicit KeyConsole(bool escape) : escape_(escape) {}
    void Write(std::string_view) override {}
    bool EscapePressed() override { return escape_; }

  private:
    bool escape_;
};

TEST(VeldranWipe, FailedFlushOrEscapeStopsAtOnceAndKeepsTheFile) {
    SeedGenerator seeds(1);
    FakeFiles escaped;
    KeyConsole escape(true);
    EXPECT_EQ(Wipe("swap", 4, seeds, escape, escaped), Result::kEscapePressed);
    EXPECT_EQ(escaped.writtenPerPass, std::vector<int64_t>{16384});

    FakeFiles unflushed;
    unflushed.flushesBeforeFailure = 8;  // the blocks of pass 1
    KeyConsole noKey(false);
    EXPECT_EQ(Wipe("swap", 4, seeds, noKey, unflushed), Result::kFlushFailed);
    EXPECT_EQ(unflushed.writtenPerPass, (std::vector<int64_t>{131072, 16384}));
    EXPECT_FALSE(escaped.removed || unflushed.removed);

    FakeFiles whole;
    EXPECT_EQ(Wipe("swap", 5, seeds, noKey, whole), Result::kWiped);
    EXPECT_EQ(whole.writtenPerPass, std::vector<int64_t>(5, 131072));
    EXPECT_EQ(whole.opens, 1);
    EXPECT_TRUE(whole.removed);
}

TEST(VeldranWipe, WhatAShortWriteGotOutIsFlushedAndTheFileKept) {
    SeedGenerator seeds(1);
    KeyConsole noKey(false);
    FakeFiles full;
    full.roomLeft = 10000;  // the disk fills within the file's first block
    full.flushesBeforeFailure = 0;
    EXPECT_EQ(Wipe("swap", 4, seeds, noKey, full), Result::kFlushFailed)
        << "the part that went out must be flushed, and its failure said";
    FakeFiles flushed;
    flushed.roomLeft = 10000;
    EXPECT_EQ(Wipe("swap", 4, seeds, noKey, flushed), Result::kWriteFailed);
    EXPECT_FALSE(full.removed || flushed.removed);
}

// Does something to the file's folder while the last block of the wipe is
// polled for Escape: after every byte is written, before the deletion.
class LastBlockConsole final : public Console {
  public:
    LastBlockConsole(int blocks, std::function<void()> action)
        : blocksLeft_(blocks), action_(std::move(action)) {}
    void Write(std::string_view) override {}
    bool EscapePressed() override {
        if (--blocksLeft_ == 0) action_();
        return false;
    }

  private:
    int blocksLeft_;
    std::function<void()> action_;
};

// The name may lead elsewhere by the time the wipe deletes it: to a file
// that was never overwritten, or to a link to the wiped file. Either way the
// deletion must leave it alone.
TEST(VeldranWipe, KeepsANameThatNoLongerLeadsToTheWipedFile) {
    veldran_test::TempFolder folder;
    const std::string path = folder.Path("swap");
    const auto wipeWhileLastBlockDoes = [&](const std::function<void()>& swap) {
        veldran_test::WriteAll(path, std::string(65536, 'A'));
        LastBlockConsole console(4 * 4, swap);
        SeedGenerator seeds(1);
        return Wipe(path, 4, seeds, console, NativeFileSystem());
    };

    const std::string other(65536, 'O');
    EXPECT_EQ(wipeWhileLastBlockDoes([&] {
                  veldran_test::WriteAll(folder.Path("other"), other);
                  ASSERT_EQ(rename(folder.Path("other").c_str(), path.c_str()), 0);
              }),
              Result::kCannotDelete);
    EXPECT_EQ(ReadAll(path), other);

    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(wipeWhileLastBlockDoes([&] {
                  ASSERT_EQ(rename(path.c_str(), folder.Path("moved").c_str()), 0);
                  ASSERT_EQ(symlink("moved", path.c_str()), 0);
              }),
              Result::kCannotDelete);
    EXPECT_TRUE(veldran_test::Exists(path));
    const std::string wiped = ReadAll(folder.Path("moved"));
    EXPECT_EQ(wiped.size(), 65536u);
    EXPECT_EQ(wiped.find(std::string(64, 'A')), std::string::npos);
}

}  // namespace
}  // namespace veldran
