// The vector-instruction keystream against the cipher library's own
// aes-128-ctr: the same bytes for the same key and counter, however the
// stream is cut into pieces and wherever the counter carries.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <memory>
#include <vector>

#include "torvix/aes_ctr_keystream.h"

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

}  // namespace
