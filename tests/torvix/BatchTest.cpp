// Files of one folder purged together, with a recording or failing file
// layer: each file's overwrite on the device before it is overwritten again
// or emptied, emptied before its name is hidden, its hidden name on the
// device before it is removed, while other files are still being
// overwritten; and each file gets its own result.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

#include "TorvixTestSupport.h"
#include "torvix/purge_batch.h"

using namespace torvix;
using namespace torvix_test;

namespace {

// A folder of small files, open, with the files as the caller saw them.
class Folder {
  public:
    explicit Folder(int count) {
        for (int i = 0; i < count; ++i)
            folder_.File("file " + std::to_string(i) + ".txt", std::string(1 + i, 's'));
        std::string name;
        EXPECT_EQ(layer_.OpenParentFolder(folder_.File("x", ""), &handle, &name), 0);
        EXPECT_EQ(layer_.UnlinkAt(handle, "x"), 0);
        for (int i = 0; i < count; ++i) {
            BatchFile file{"file " + std::to_string(i) + ".txt"};
            FileFacts facts;
            EXPECT_EQ(layer_.StatAt(handle, file.name, &facts), 0);
            file.seen = {facts.device, facts.inode};
            file.result = 99;
            files.push_back(file);
        }
    }
    ~Folder() { layer_.Close(handle); }

    const std::string& path() const { return folder_.path(); }
    void Purge(FileLayer& layer, int workers, int32_t purgeType = 0) {
        PurgeBatchAt(handle, files, {.purgeType = purgeType, .deleteWhenDone = true}, layer,
                     [] { return std::make_unique<KnownRandom>(); }, workers);
    }

    Handle handle = kNoHandle;
    std::vector<BatchFile> files;

  private:
    TempFolder folder_;
    SystemFileLayer layer_;
};

std::size_t Count(const std::vector<Event>& events, Op op) {
    return std::count_if(events.begin(), events.end(), [op](const Event& e) { return e.op == op; });
}

}  // namespace

TEST(BatchTest, EveryStepOfAFileWaitsForTheFlushesItNeeds) {
    Folder folder(24);
    RecordingFileLayer layer;
    folder.Purge(layer, 4, 1);  // four overwrites a file, from four threads
    for (const BatchFile& file : folder.files) EXPECT_EQ(file.result, 0) << file.name;
    EXPECT_TRUE(Names(folder.path()).empty());

    // The names of some files are hidden and removed while others are still
    // being overwritten, so each file is followed on its own: no write
    // before the one ahead of it was flushed, nothing emptied before its
    // last overwrite was flushed, no name hidden before the file was
    // emptied, no name removed before its hidden name was flushed, and
    // every removal flushed before the call returns.
    std::map<uint64_t, bool> unflushedWrite, emptied;
    std::map<uint64_t, int> renames;
    std::set<uint64_t> hiddenUnflushed, removedUnflushed;
    for (const Event& e : layer.events) {
        switch (e.op) {
            case Op::kWrite:
                EXPECT_FALSE(emptied[e.inode]) << "written after it was emptied";
                if (e.offset == 0)
                    EXPECT_FALSE(unflushedWrite[e.inode]) << "overwritten again before a flush";
                unflushedWrite[e.inode] = true;
                break;
            case Op::kSync:
                unflushedWrite[e.inode] = false;
                break;
            case Op::kTruncate:
                EXPECT_FALSE(unflushedWrite[e.inode]) << "emptied before its overwrite was flushed";
                emptied[e.inode] = true;
                break;
            case Op::kRename:
                EXPECT_TRUE(emptied[e.inode]) << "a name hidden before the file was emptied";
                ++renames[e.inode];
                hiddenUnflushed.insert(e.inode);
                break;
            case Op::kUnlink:
                EXPECT_EQ(renames[e.inode], 2) << "removed before both renames";
                EXPECT_FALSE(hiddenUnflushed.count(e.inode))
                    << "a name removed before its rename was flushed";
                removedUnflushed.insert(e.inode);
                break;
            case Op::kSyncFolder:
                hiddenUnflushed.clear();
                removedUnflushed.clear();
                break;
        }
    }
    EXPECT_EQ(std::count_if(emptied.begin(), emptied.end(), [](auto& e) { return e.second; }),
              24);
    EXPECT_EQ(renames.size(), 24u);
    EXPECT_TRUE(removedUnflushed.empty()) << "a removal not flushed";
    EXPECT_EQ(Count(layer.events, Op::kRename), 48u);
    EXPECT_EQ(Count(layer.events, Op::kUnlink), 24u);
}

// Holds the flush of one file's overwrite until some name has been hidden
// (or ten seconds have passed).
class FlushAfterARename : public RecordingFileLayer {
  public:
    uint64_t held = 0;
    bool renamedFirst = false;

    int SyncData(Handle file) override {
        FileFacts facts;
        if (Stat(file, &facts) == 0 && facts.inode == held) {
            std::unique_lock<std::mutex> lock(mutex_);
            renamedFirst = renamed_.wait_for(lock, std::chrono::seconds(10), [&] { return any_; });
        }
        return RecordingFileLayer::SyncData(file);
    }
    int RenameAt(Handle folder, const std::string& from, const std::string& to) override {
        int error = RecordingFileLayer::RenameAt(folder, from, to);
        std::lock_guard<std::mutex> lock(mutex_);
        any_ = true;
        renamed_.notify_all();
        return error;
    }

  private:
    std::mutex mutex_;
    std::condition_variable renamed_;
    bool any_ = false;
};

TEST(BatchTest, NamesAreHiddenWhileOtherFilesAreStillOverwritten) {
    Folder folder(6);
    FlushAfterARename layer;
    FileFacts first;
    ASSERT_EQ(layer.StatAt(folder.handle, folder.files[0].name, &first), 0);
    layer.held = first.inode;
    // One worker waits on the first file while the other purges the rest.
    folder.Purge(layer, 2);
    EXPECT_TRUE(layer.renamedFirst) << "no name hidden before every overwrite was over";
    for (const BatchFile& file : folder.files) EXPECT_EQ(file.result, 0) << file.name;
    EXPECT_TRUE(Names(folder.path()).empty());
}

// One thread, so that the nth call of an operation is always the same file's.
struct BatchFault {
    Op op;
    int nth;
    std::vector<int32_t> results;  // of the three files
    std::vector<bool> left;        // which are still there
};

class BatchFaultTest : public testing::TestWithParam<BatchFault> {};

TEST_P(BatchFaultTest, EachFileGetsItsOwnResult) {
    const BatchFault& fault = GetParam();
    Folder folder(3);
    RecordingFileLayer layer;
    layer.FailAt(fault.op, fault.nth, EIO);
    folder.Purge(layer, 1);
    std::vector<int32_t> results;
    for (const BatchFile& file : folder.files) results.push_back(file.result);
    EXPECT_EQ(results, fault.results);
    EXPECT_EQ(Names(folder.path()).size(),
              static_cast<std::size_t>(std::count(fault.left.begin(), fault.left.end(), true)));
    for (std::size_t i = 0; i < 3; ++i) {
        if (fault.left[i] && fault.results[i] != -5)
            EXPECT_EQ(ReadFile(folder.path() + "/" + folder.files[i].name).size(),
                      fault.results[i] == -4 ? 1 + i : fault.results[i] == -7 ? 1 + i : 0u);
    }
    // A file that failed before it was emptied is never renamed or removed.
    if (fault.op == Op::kSync || fault.op == Op::kTruncate) {
        EXPECT_EQ(Count(layer.events, Op::kRename), 4u);
        EXPECT_EQ(Count(layer.events, Op::kUnlink), 2u);
    }
    if (fault.op == Op::kSyncFolder && fault.nth == 1) EXPECT_EQ(Count(layer.events, Op::kUnlink), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BatchFaultTest,
    testing::Values(
        // The second file's overwrite is not flushed: it stays, overwritten or not.
        BatchFault{Op::kSync, 2, {0, -7, 0}, {false, true, false}},
        // The second file cannot be emptied.
        BatchFault{Op::kTruncate, 2, {0, -4, 0}, {false, true, false}},
        // The renames are not on the device: no name is removed.
        BatchFault{Op::kSyncFolder, 1, {-5, -5, -5}, {true, true, true}},
        // The removals are not on the device: not reported as deleted.
        BatchFault{Op::kSyncFolder, 2, {-6, -6, -6}, {false, false, false}},
        BatchFault{Op::kUnlink, 2, {0, -6, 0}, {false, true, false}}));

TEST(BatchTest, AFileReplacedSinceItWasSeenIsLeftAloneAndTheOthersPurged) {
    Folder folder(3);
    const std::string replaced = folder.path() + "/" + folder.files[1].name;
    // Made while the old file still holds its inode, so that it gets another.
    std::ofstream(PathOf(replaced + ".new"), std::ios::binary) << "someone else's";
    std::filesystem::rename(PathOf(replaced + ".new"), PathOf(replaced));
    RecordingFileLayer layer;
    folder.Purge(layer, 2);
    EXPECT_EQ(folder.files[0].result, 0);
    EXPECT_EQ(folder.files[1].result, -12);
    EXPECT_EQ(folder.files[2].result, 0);
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{folder.files[1].name});
    EXPECT_EQ(ReadFile(replaced), "someone else's");
}

TEST(BatchTest, ABadRequestTouchesNoFile) {
    Folder folder(2);
    RecordingFileLayer layer;
    PurgeBatchAt(folder.handle, folder.files, {.purgeType = 3, .deleteWhenDone = true}, layer,
                 [] { return std::make_unique<KnownRandom>(); }, 2);
    for (const BatchFile& file : folder.files) EXPECT_EQ(file.result, -8);
    EXPECT_TRUE(layer.events.empty());
    EXPECT_EQ(Names(folder.path()).size(), 2u);
}
