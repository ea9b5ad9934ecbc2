// The overwrite engine driven with a recording or failing file layer and a
// known random stream: what reaches the file, in which order, and which
// result each failure gives.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "TorvixTestSupport.h"
#include "torvix/purge_engine.h"

using namespace torvix;
using namespace torvix_test;

namespace {

// What one pass of each type writes, written out by hand: a byte value, or
// -1 for a fresh random stream.
const std::vector<int> kPassBytes[] = {
    {-1},                              // type 0
    {0xAA, 0x55, 0x0A, 0xF5},          // type 1
    {0xAA, 0x55, -1, 0x0A, 0xF5, -1},  // type 2
};

std::vector<unsigned char> Expected(int byte, int stream, std::size_t size) {
    std::vector<unsigned char> bytes(size, static_cast<unsigned char>(byte));
    if (byte < 0)
        for (std::size_t i = 0; i < size; ++i) bytes[i] = KnownRandom::Byte(stream, i);
    return bytes;
}

std::size_t Count(const std::vector<Event>& events, Op op) {
    return std::count_if(events.begin(), events.end(), [op](const Event& e) { return e.op == op; });
}

class PassTest : public testing::TestWithParam<int32_t> {};

TEST_P(PassTest, EveryOverwriteCoversTheFileInOrderAndIsFlushedBeforeTheNext) {
    TempFolder folder;
    std::string path = folder.File("data.bin", std::string((2 << 20) + 777, 'x'));
    RecordingFileLayer layer;
    layer.maxWrite = 300001;  // short writes must be continued, not lost
    KnownRandom random;
    ASSERT_EQ(PurgeOneFile(path, {.purgeType = GetParam(), .passes = 2}, layer, random), 0);

    const std::vector<int>& pass = kPassBytes[GetParam()];
    auto overwrites = layer.Overwrites();
    ASSERT_EQ(overwrites.size(), 2 * pass.size());
    int stream = 0;
    for (std::size_t i = 0; i < overwrites.size(); ++i) {
        int byte = pass[i % pass.size()];
        EXPECT_TRUE(overwrites[i] == Expected(byte, byte < 0 ? ++stream : 0, (2 << 20) + 777))
            << "overwrite " << i;
    }
    EXPECT_TRUE(ReadFile(path) == std::string(overwrites.back().begin(), overwrites.back().end()));
    EXPECT_EQ(Count(layer.events, Op::kTruncate) + Count(layer.events, Op::kRename), 0u);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, PassTest, testing::Values(0, 1, 2));

TEST(SlackTest, SlackUpToTheClusterEndIsOverwrittenAndTheLengthKept) {
    for (std::size_t length : {1000, 8192, 0}) {
        TempFolder folder;
        std::string path = folder.File("f", std::string(length, 'x'));
        RecordingFileLayer layer;
        KnownRandom random;
        PurgeRequest request{.purgeType = 1, .purgeSlack = true, .clusterSize = 4096};
        ASSERT_EQ(PurgeOneFile(path, request, layer, random), 0) << length;
        std::size_t end = (length + 4095) / 4096 * 4096;
        for (const auto& overwrite : layer.Overwrites()) EXPECT_EQ(overwrite.size(), end);
        EXPECT_EQ(Count(layer.events, Op::kTruncate), end > length ? 1u : 0u);
        EXPECT_EQ(ReadFile(path), std::string(length, '\xF5'));
    }
}

TEST(SlackTest, FilesBeyondFourGiBAreCoveredToTheLastByte) {
    TempFolder folder;
    RecordingFileLayer layer;
    layer.pretendSize = (uint64_t{5} << 30) + 3;
    KnownRandom random;
    PurgeRequest request{.purgeType = 1, .purgeSlack = true, .clusterSize = 512};
    ASSERT_EQ(PurgeOneFile(folder.File("big", ""), request, layer, random), 0);
    uint64_t next = 0;
    std::vector<unsigned char> firstBytes;
    for (const Event& event : layer.events) {
        if (event.op == Op::kWrite) {
            ASSERT_EQ(event.offset, next);
            if (next == 0) firstBytes.push_back(event.data[0]);
            next += event.size;
        } else if (event.op == Op::kSync && next != 0) {
            EXPECT_EQ(next, (uint64_t{5} << 30) + 512);
            next = 0;
        } else if (event.op == Op::kTruncate) {
            EXPECT_EQ(event.offset, layer.pretendSize);
        }
    }
    EXPECT_EQ(firstBytes, (std::vector<unsigned char>{0xAA, 0x55, 0x0A, 0xF5}));
}

TEST(DeleteTest, TheFileIsEmptiedRenamedTwiceAndRemovedWithFlushes) {
    for (std::string name : {"quarterly report.txt", "twelve.chars"}) {
        TempFolder folder;
        std::string path = folder.File(name, "secret");
        RecordingFileLayer layer;
        KnownRandom random;
        ASSERT_EQ(PurgeOneFile(path, {.deleteWhenDone = true}, layer, random), 0);
        std::vector<Event> tail(layer.events.end() - 7, layer.events.end());
        std::vector<Op> ops;
        for (const Event& e : tail) ops.push_back(e.op);
        // Emptying needs no flush of its own: the overwrite is on the device
        // already, and a lost emptying could bring back only its bytes.
        EXPECT_EQ(ops, (std::vector<Op>{Op::kSync, Op::kTruncate, Op::kRename, Op::kRename,
                                        Op::kSyncFolder, Op::kUnlink, Op::kSyncFolder}));
        EXPECT_EQ(tail[1].offset, 0u);
        EXPECT_EQ(tail[2].name.size(), name.size());
        EXPECT_NE(tail[3].name.size(), name.size());
        EXPECT_EQ(tail[5].name, tail[3].name);
        EXPECT_TRUE(Names(folder.path()).empty());
    }
}

struct Fault {
    const char* what;
    Op op;
    int nth;
    int error;
    int32_t code;
};

class FaultTest : public testing::TestWithParam<Fault> {};

TEST_P(FaultTest, EachFailureGivesItsCodeAndNeverDeletesAnUnfinishedFile) {
    const Fault& fault = GetParam();
    const std::string name = "ledger-2024.xlsx";
    TempFolder folder;
    folder.File(name, std::string(100000, 'x'));
    RecordingFileLayer layer;
    layer.maxWrite = 40000;
    layer.FailAt(fault.op, fault.nth, fault.error);
    KnownRandom random;
    PurgeRequest request{.purgeType = 1, .deleteWhenDone = true};
    EXPECT_EQ(PurgeOneFile(folder.path() + "/" + name, request, layer, random), fault.code);

    std::vector<std::string> left = Names(folder.path());
    if (fault.code == 0) {
        EXPECT_TRUE(left.empty());
    } else if (fault.code <= -4 && fault.code >= -6) {
        EXPECT_EQ(layer.Overwrites().size(), 4u);  // completely overwritten first
        bool removed = fault.op == Op::kSyncFolder && fault.nth == 2;
        ASSERT_EQ(left.size(), removed ? 0u : 1u);
        if (fault.op == Op::kUnlink || (fault.op == Op::kSyncFolder && fault.nth == 1)) {
            EXPECT_NE(left[0].size(), name.size()) << "the old length of the name is still there";
        }
    } else {
        EXPECT_EQ(left, std::vector<std::string>{name});
        EXPECT_EQ(Count(layer.events, Op::kRename), 0u);
        if (fault.op == Op::kSync) {
            EXPECT_EQ(layer.events.back().op, Op::kSync);  // nothing after the failed flush
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllSteps, FaultTest,
    testing::Values(Fault{"WriteError", Op::kWrite, 2, EIO, -3},
                    Fault{"DiskFull", Op::kWrite, 5, ENOSPC, -3},
                    Fault{"FlushFails", Op::kSync, 2, EIO, -7},
                    Fault{"TruncateFails", Op::kTruncate, 1, EIO, -4},
                    Fault{"FirstRenameFails", Op::kRename, 1, EACCES, -5},
                    Fault{"SecondRenameFails", Op::kRename, 2, EACCES, -5},
                    Fault{"FolderFlushAfterRenamesFails", Op::kSyncFolder, 1, EIO, -5},
                    Fault{"RemoveFails", Op::kUnlink, 1, EBUSY, -6},
                    Fault{"FolderFlushAfterRemoveFails", Op::kSyncFolder, 2, EIO, -6},
                    Fault{"NameTakenTriesAnother", Op::kRename, 1, EEXIST, 0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(FaultTest, StuckWritesFailingRandomAndFullSlackEndCleanly) {
    TempFolder folder;
    std::string path = folder.File("f", std::string(1000, 'x'));
    {
        RecordingFileLayer layer;
        layer.maxWrite = 0;  // the file takes no byte: must fail, not spin
        KnownRandom random;
        EXPECT_EQ(PurgeOneFile(path, {.purgeType = 1}, layer, random), -3);
    }
    {
        RecordingFileLayer layer;
        KnownRandom random;
        random.failAtStream = 2;  // type 2's second random overwrite
        EXPECT_EQ(PurgeOneFile(path, {.purgeType = 2}, layer, random), -1);
        EXPECT_EQ(layer.Overwrites().size(), 5u);
    }
    {
        // Generated ahead by a second thread: what was made before the
        // failure may be written, nothing after it, and nothing is flushed.
        std::string big = folder.File("big", std::string(3 << 20, 'x'));
        RecordingFileLayer layer;
        KnownRandom random;
        random.failFillAt = (2 << 20) + 1;
        EXPECT_EQ(PurgeOneFile(big, {.purgeType = 0, .deleteWhenDone = true}, layer, random), -1);
        EXPECT_EQ(Count(layer.events, Op::kSync), 0u);
        EXPECT_EQ(ReadFile(big).substr(2 << 20), std::string(1 << 20, 'x'));
    }
    for (bool remove : {false, true}) {
        // A full disk refuses the slack: the data still gets every
        // overwrite, the file its length back, and the purge goes through.
        RecordingFileLayer layer;
        layer.maxWrite = 1000;
        layer.FailAt(Op::kWrite, 2, ENOSPC);  // in the slack
        KnownRandom random;
        PurgeRequest request{
            .purgeType = 1, .deleteWhenDone = remove, .purgeSlack = true, .clusterSize = 4096};
        EXPECT_EQ(PurgeOneFile(path, request, layer, random), 1);
        ASSERT_EQ(layer.Overwrites().size(), 4u);
        for (const auto& overwrite : layer.Overwrites()) EXPECT_GE(overwrite.size(), 1000u);
        if (remove) {
            EXPECT_FALSE(std::filesystem::exists(path));
        } else {
            EXPECT_EQ(std::filesystem::file_size(path), 1000u);
        }
    }
}

TEST(FileLayerTest, RenameNeverReplacesAnotherFile) {
    TempFolder folder;
    folder.File("a", "mine");
    folder.File("b", "someone else's");
    SystemFileLayer layer;
    Handle handle = kNoHandle;
    std::string name;
    ASSERT_EQ(layer.OpenParentFolder(folder.path() + "/a", &handle, &name), 0);
    EXPECT_EQ(name, "a");
    EXPECT_EQ(layer.RenameAt(handle, "a", "b"), EEXIST);
    layer.Close(handle);
    EXPECT_EQ(ReadFile(folder.path() + "/b"), "someone else's");
}

}  // namespace
