// Files of one folder purged together, with a recording or failing file
// layer: each file's overwrite on the device before it is overwritten again
// or emptied, every file emptied on the device before any name is hidden,
// every hidden name on the device before any is removed; and each file gets
// its own result.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

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

TEST(BatchTest, EveryStepWaitsForTheFlushesItNeeds) {
    Folder folder(24);
    RecordingFileLayer layer;
    folder.Purge(layer, 4, 1);  // four overwrites a file, from four threads
    for (const BatchFile& file : folder.files) EXPECT_EQ(file.result, 0) << file.name;
    EXPECT_TRUE(Names(folder.path()).empty());

    const std::vector<Event>& events = layer.events;
    // Each file on its own: no write before the one ahead of it was
    // flushed, nothing emptied before its last overwrite was flushed.
    std::map<uint64_t, bool> unflushedWrite, emptied, emptiedFlushed;
    std::size_t lastFileFlush = 0, firstRename = events.size(), firstUnlink = events.size();
    std::size_t lastRename = 0, lastUnlink = 0;
    std::vector<std::size_t> folderFlushes;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        switch (e.op) {
            case Op::kWrite:
                EXPECT_FALSE(emptied[e.inode]) << "written after it was emptied";
                if (e.offset == 0)
                    EXPECT_FALSE(unflushedWrite[e.inode]) << "overwritten again before a flush";
                unflushedWrite[e.inode] = true;
                break;
            case Op::kSync:
                unflushedWrite[e.inode] = false;
                if (emptied[e.inode]) emptiedFlushed[e.inode] = true;
                lastFileFlush = i;
                break;
            case Op::kTruncate:
                EXPECT_FALSE(unflushedWrite[e.inode]) << "emptied before its overwrite was flushed";
                emptied[e.inode] = true;
                break;
            case Op::kRename:
                firstRename = std::min(firstRename, i);
                lastRename = i;
                break;
            case Op::kUnlink:
                firstUnlink = std::min(firstUnlink, i);
                lastUnlink = i;
                break;
            case Op::kSyncFolder:
                folderFlushes.push_back(i);
                break;
        }
    }
    EXPECT_EQ(emptiedFlushed.size(), 24u);
    EXPECT_LT(lastFileFlush, firstRename) << "a name hidden before every file was emptied";
    ASSERT_EQ(folderFlushes.size(), 2u);
    EXPECT_LT(lastRename, folderFlushes[0]);
    EXPECT_LT(folderFlushes[0], firstUnlink) << "a name removed before the renames were flushed";
    EXPECT_LT(lastUnlink, folderFlushes[1]);
    EXPECT_EQ(Count(events, Op::kRename), 48u);
    EXPECT_EQ(Count(events, Op::kUnlink), 24u);
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
        BatchFault{Op::kSync, 3, {0, -7, 0}, {false, true, false}},
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
