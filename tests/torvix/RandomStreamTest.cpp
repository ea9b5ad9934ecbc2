// A cheaply made random stream, written piece by piece as it is made.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TorvixTestSupport.h"
#include "torvix/purge_engine.h"

using namespace torvix_test;

namespace {

// A known stream that claims to be cheap, so the overwrite makes each piece
// just before writing it instead of on a second thread.
class CheapKnownRandom : public KnownRandom {
  public:
    bool MakesBytesCheaply() const override { return true; }
};

TEST(CheapStreamTest, EveryByteIsTheStreamAndAFailingSourceStopsTheOverwrite) {
    TempFolder folder;
    const std::size_t size = (3 << 20) + 777;  // several pieces, the last one short
    std::string path = folder.File("ledger.db", std::string(size, 'x'));
    {
        torvix_test::RecordingFileLayer layer;
        layer.maxWrite = 300001;  // pieces split across short writes
        CheapKnownRandom random;
        ASSERT_EQ(torvix::PurgeOneFile(path, {.purgeType = 2}, layer, random), 0);
        auto overwrites = layer.Overwrites();
        ASSERT_EQ(overwrites.size(), 6u);
        for (int stream : {1, 2}) {
            std::vector<unsigned char> expected(size);
            for (std::size_t i = 0; i < size; ++i) expected[i] = KnownRandom::Byte(stream, i);
            EXPECT_TRUE(overwrites[stream == 1 ? 2 : 5] == expected) << "stream " << stream;
        }
    }
    {
        torvix_test::RecordingFileLayer layer;
        CheapKnownRandom random;
        random.failFillAt = (1 << 20) + 5;
        std::string before = ReadFile(path);
        EXPECT_EQ(
            torvix::PurgeOneFile(path, {.purgeType = 0, .deleteWhenDone = true}, layer, random),
            -1);
        std::size_t syncs = 0;
        for (const Event& event : layer.events) syncs += event.op == Op::kSync;
        EXPECT_EQ(syncs, 0u);
        std::string now = ReadFile(path);
        ASSERT_EQ(now.size(), size);
        EXPECT_TRUE(now.substr(1 << 20) == before.substr(1 << 20))
            << "bytes after the failure were written";
    }
}

}  // namespace
