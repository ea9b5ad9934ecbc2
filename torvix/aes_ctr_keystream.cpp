#include "torvix/aes_ctr_keystream.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TORVIX_VECTOR_AES 1
#include <immintrin.h>
#else
#define TORVIX_VECTOR_AES 0
#endif

namespace torvix {

#if TORVIX_VECTOR_AES
namespace {

// Only these functions use the instructions; Available() guards their calls.
#define TORVIX_VECTOR_AES_TARGET __attribute__((target("aes,avx512f,avx512bw,vaes")))

using RoundKeys = unsigned char[11][16];

// 32 blocks, four to a vector register and eight registers at once: enough
// independent work to keep the AES units busy while each round's result
// is still on its way.
constexpr std::size_t kBatchBlocks = 32;
constexpr std::size_t kBatchSize = kBatchBlocks * 16;

TORVIX_VECTOR_AES_TARGET __m128i NextRoundKey(__m128i key, __m128i assist) {
    assist = _mm_shuffle_epi32(assist, 0xff);
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    return _mm_xor_si128(key, assist);
}

TORVIX_VECTOR_AES_TARGET void ExpandKey(const unsigned char key[16], RoundKeys& keys) {
    __m128i k[11];
    k[0] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
    // The round constant must be an immediate operand: one line per round.
    k[1] = NextRoundKey(k[0], _mm_aeskeygenassist_si128(k[0], 0x01));
    k[2] = NextRoundKey(k[1], _mm_aeskeygenassist_si128(k[1], 0x02));
    k[3] = NextRoundKey(k[2], _mm_aeskeygenassist_si128(k[2], 0x04));
    k[4] = NextRoundKey(k[3], _mm_aeskeygenassist_si128(k[3], 0x08));
    k[5] = NextRoundKey(k[4], _mm_aeskeygenassist_si128(k[4], 0x10));
    k[6] = NextRoundKey(k[5], _mm_aeskeygenassist_si128(k[5], 0x20));
    k[7] = NextRoundKey(k[6], _mm_aeskeygenassist_si128(k[6], 0x40));
    k[8] = NextRoundKey(k[7], _mm_aeskeygenassist_si128(k[7], 0x80));
    k[9] = NextRoundKey(k[8], _mm_aeskeygenassist_si128(k[8], 0x1b));
    k[10] = NextRoundKey(k[9], _mm_aeskeygenassist_si128(k[9], 0x36));
    for (int r = 0; r < 11; ++r) _mm_store_si128(reinterpret_cast<__m128i*>(keys[r]), k[r]);
}

// A counter held as a little-endian 128-bit number turned into the
// big-endian block that is encrypted.
TORVIX_VECTOR_AES_TARGET __m128i ReverseBytes() {
    return _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}

TORVIX_VECTOR_AES_TARGET void EncryptBlock(const RoundKeys& keys, uint64_t high, uint64_t low,
                                           unsigned char out[16]) {
    auto key = [&](int r) { return _mm_load_si128(reinterpret_cast<const __m128i*>(keys[r])); };
    __m128i counter = _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
    __m128i block = _mm_xor_si128(_mm_shuffle_epi8(counter, ReverseBytes()), key(0));
    for (int r = 1; r < 10; ++r) block = _mm_aesenc_si128(block, key(r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_aesenclast_si128(block, key(10)));
}

// One block in all four lanes. (The zero-masked form: the plain one trips
// the compiler's uninitialised-value warning inside its own header.)
TORVIX_VECTOR_AES_TARGET __m512i Broadcast(__m128i block) {
    return _mm512_maskz_broadcast_i32x4(static_cast<__mmask16>(0xffff), block);
}

// `batches` batches from counter (high, low); the low half must not wrap
// within them.
TORVIX_VECTOR_AES_TARGET void EncryptBatches(const RoundKeys& keys, uint64_t high, uint64_t low,
                                             unsigned char* out, std::size_t batches) {
    __m512i k[11];
    for (int r = 0; r < 11; ++r)
        k[r] = Broadcast(_mm_load_si128(reinterpret_cast<const __m128i*>(keys[r])));
    const __m512i reverse = Broadcast(ReverseBytes());
    const __m512i four = _mm512_set_epi64(0, 4, 0, 4, 0, 4, 0, 4);
    const auto h = static_cast<long long>(high);
    const auto l = static_cast<long long>(low);
    __m512i counters = _mm512_set_epi64(h, l + 3, h, l + 2, h, l + 1, h, l);
    for (; batches > 0; --batches, out += kBatchSize) {
        __m512i b[8];
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i) {
            b[i] = _mm512_xor_si512(_mm512_shuffle_epi8(counters, reverse), k[0]);
            counters = _mm512_add_epi64(counters, four);
        }
#pragma GCC unroll 9
        for (int r = 1; r < 10; ++r) {
#pragma GCC unroll 8
            for (int i = 0; i < 8; ++i) b[i] = _mm512_aesenc_epi128(b[i], k[r]);
        }
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i)
            _mm512_storeu_si512(out + 64 * i, _mm512_aesenclast_epi128(b[i], k[10]));
    }
}

}  // namespace

bool AesCtrKeystream::Available() {
    static const bool available =
        __builtin_cpu_supports("aes") && __builtin_cpu_supports("avx512f") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("vaes");
    return available;
}

void AesCtrKeystream::Start(const unsigned char key[16], const unsigned char counter[16]) {
    Clear();
    ExpandKey(key, roundKeys_);
    for (int i = 0; i < 8; ++i) {
        counterHigh_ = counterHigh_ << 8 | counter[i];
        counterLow_ = counterLow_ << 8 | counter[8 + i];
    }
}

void AesCtrKeystream::Generate(unsigned char* data, std::size_t size) {
    auto advance = [this](uint64_t blocks) {
        uint64_t before = counterLow_;
        counterLow_ += blocks;
        if (counterLow_ < before) ++counterHigh_;
    };
    std::size_t fromRest = std::min(size, restSize_);
    std::memcpy(data, rest_ + sizeof rest_ - restSize_, fromRest);
    restSize_ -= fromRest;
    data += fromRest;
    size -= fromRest;

    while (size >= kBatchSize) {
        // Whole batches as long as the low half of the counter does not
        // wrap within them; the batch where it does is made block by block.
        uint64_t untilWrap = ~uint64_t{0} - counterLow_;
        uint64_t fit =
            untilWrap >= kBatchBlocks - 1 ? (untilWrap - (kBatchBlocks - 1)) / kBatchBlocks + 1 : 0;
        std::size_t batches = static_cast<std::size_t>(std::min<uint64_t>(fit, size / kBatchSize));
        if (batches == 0) {
            for (std::size_t i = 0; i < kBatchBlocks; ++i, data += 16) {
                EncryptBlock(roundKeys_, counterHigh_, counterLow_, data);
                advance(1);
            }
            size -= kBatchSize;
            continue;
        }
        EncryptBatches(roundKeys_, counterHigh_, counterLow_, data, batches);
        advance(uint64_t{batches} * kBatchBlocks);
        data += batches * kBatchSize;
        size -= batches * kBatchSize;
    }
    for (; size >= 16; data += 16, size -= 16) {
        EncryptBlock(roundKeys_, counterHigh_, counterLow_, data);
        advance(1);
    }
    if (size > 0) {
        EncryptBlock(roundKeys_, counterHigh_, counterLow_, rest_);
        advance(1);
        std::memcpy(data, rest_, size);
        restSize_ = sizeof rest_ - size;
    }
}

#else  // no vector AES on this processor family or compiler

bool AesCtrKeystream::Available() { return false; }
void AesCtrKeystream::Start(const unsigned char*, const unsigned char*) { std::abort(); }
void AesCtrKeystream::Generate(unsigned char*, std::size_t) { std::abort(); }

#endif

AesCtrKeystream::~AesCtrKeystream() { Clear(); }

void AesCtrKeystream::Clear() {
    OPENSSL_cleanse(roundKeys_, sizeof roundKeys_);
    OPENSSL_cleanse(rest_, sizeof rest_);
    counterHigh_ = 0;
    counterLow_ = 0;
    restSize_ = 0;
}

}  // namespace torvix
