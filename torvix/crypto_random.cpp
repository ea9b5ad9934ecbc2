// The production random source: an AES-128-CTR keystream, keyed per stream
// from the operating system's generator. With AES instructions this runs at
// several GB/s on one core, and with the vector AES instructions where the
// processor has them (aes_ctr_keystream.h) at several times that, so random
// overwrites cost little more than patterns.
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>

#include "torvix/aes_ctr_keystream.h"
#include "torvix/random_source.h"

namespace torvix {
namespace {

class CryptoRandomSource final : public RandomSource {
  public:
    explicit CryptoRandomSource(EVP_CIPHER_CTX* context) : context_(context) {}
    ~CryptoRandomSource() override { EVP_CIPHER_CTX_free(context_); }
    CryptoRandomSource(const CryptoRandomSource&) = delete;
    CryptoRandomSource& operator=(const CryptoRandomSource&) = delete;

    bool BeginStream() override {
        ready_ = false;
        unsigned char seed[32];  // 16 bytes of key, 16 of initial counter
        bool seeded =
            RAND_priv_bytes(seed, sizeof seed) == 1 &&
            EVP_EncryptInit_ex(context_, EVP_aes_128_ctr(), nullptr, seed, seed + 16) == 1;
        if (seeded && fast_) fast_->Start(seed, seed + 16);
        OPENSSL_cleanse(seed, sizeof seed);
        ready_ = seeded;
        return ready_;
    }

    bool Fill(unsigned char* data, std::size_t size) override {
        if (!ready_) return false;
        if (fast_) {
            fast_->Generate(data, size);
            return true;
        }
        // The keystream is what encrypting zeros yields. Reading them from
        // one small block that stays in the cache is cheaper than clearing
        // the output first.
        static const unsigned char kZeros[64 << 10] = {};
        while (size > 0) {
            int piece = static_cast<int>(std::min(size, sizeof kZeros));
            int produced = 0;
            if (EVP_EncryptUpdate(context_, data, &produced, kZeros, piece) != 1 ||
                produced != piece) {
                ready_ = false;
                return false;
            }
            data += piece;
            size -= static_cast<std::size_t>(piece);
        }
        return true;
    }

    bool MakesBytesCheaply() const override { return fast_ != nullptr; }

  private:
    EVP_CIPHER_CTX* context_;
    // The same keystream made faster, where the processor allows.
    std::unique_ptr<AesCtrKeystream> fast_ =
        AesCtrKeystream::Available() ? std::make_unique<AesCtrKeystream>() : nullptr;
    bool ready_ = false;
};

}  // namespace

std::unique_ptr<RandomSource> MakeCryptoRandomSource() {
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    if (context == nullptr) return nullptr;
    return std::make_unique<CryptoRandomSource>(context);
}

}  // namespace torvix
