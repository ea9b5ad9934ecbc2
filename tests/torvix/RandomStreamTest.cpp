// The random overwrite's stream: the vector-instruction keystream against
// the cipher library's own aes-128-ctr (the same bytes for the same key and
// counter, however the stream is cut into pieces and wherever the counter
// carries), and a cheaply made stream written piece by piece as it is made.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <memory>
#include <vector>

#include "TorvixTestSupport.h"
#include "torvix/aes_ctr_keystream.h"
#include "torvix/purge_engine.h"

using namespace torvix_test;

namespace {

std::vector<unsigned char> LibraryKeystream(const unsigned char* key, const unsigned char* counter,
                                            std::size_t size) {
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(EVP_CIPHER_CTX_new(),
                                                                            EVP_CIPHER_CTX_free);
    std::vector<unsigned char> zeros(size), out(size);
    int produced = 0;
    EXPECT_EQ(EVP_EncryptInit_ex(context.get(), EVP_aes_128_ctr(), nullptr, key, counter), 1);
    EXPECT_EQ(EVP_EncryptUpdate(context.get(), out.data(), &produced, zeros.data(),
                                static_cast<int>(size)),
              1);
    return out;
}

TEST(KeystreamTest, MatchesTheLibraryCipherInAnyPiecesAndAcrossCounterCarries) {
    if (!torvix::AesCtrKeystream::Available()) GTEST_SKIP() << "no vector AES on this processor";
    unsigned char key[16];
    for (int i = 0; i < 16; ++i) key[i] = static_cast<unsigned char>(0x3b * i + 7);
    struct Start {
        const char* what;
        unsigned char counter[16];
    };
    const Start starts[] = {
        {"plain", {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xde, 0xf0, 0, 0, 0, 0, 0, 0, 0x10, 0}},
        // The low half wraps within the first batch, and within a long
        // piece after whole batches.
        {"low half wraps early",
         {0, 0, 0, 0, 0, 0, 0, 0x41, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xf9}},
        {"low half wraps later",
         {0, 0, 0, 0, 0, 0, 0x2c, 0x07, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xfc, 0x13}},
        // All 128 bits wrap to zero.
        {"all bits wrap",
         {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
          0xf0}},
    };
    // Pieces that start and end inside blocks and batches, and long ones.
    const std::size_t pieces[] = {1, 15, 16, 17, 511, 512, 513, 5000, 3, 64 << 10, 29, 1 << 20};
    std::size_t total = 0;
    for (std::size_t piece : pieces) total += piece;

    for (const Start& start : starts) {
        std::vector<unsigned char> expected = LibraryKeystream(key, start.counter, total);
        torvix::AesCtrKeystream stream;
        stream.Start(key, start.counter);
        std::vector<unsigned char> made(total);
        std::size_t at = 0;
        for (std::size_t piece : pieces) {
            stream.Generate(made.data() + at, piece);
            at += piece;
        }
        EXPECT_TRUE(made == expected) << start.what;

        // Starting again gives the same stream from its beginning.
        stream.Start(key, start.counter);
        std::vector<unsigned char> again(4096);
        stream.Generate(again.data(), again.size());
        EXPECT_TRUE(std::equal(again.begin(), again.end(), expected.begin())) << start.what;
    }
}

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
