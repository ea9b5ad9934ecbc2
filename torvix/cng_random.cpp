// The production random source on Windows: an AES-128-CTR keystream from the
// system's own cryptography (CNG). Each stream's key and initial counter
// come from BCryptGenRandom. CNG offers no counter mode, so the counter
// blocks are laid out here and encrypted with AES in ECB mode, which is
// exactly what counter mode does.
#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "torvix/random_source.h"

namespace torvix {
namespace {

constexpr std::size_t kBlock = 16;

bool Succeeded(NTSTATUS status) { return status >= 0; }

class CngRandomSource final : public RandomSource {
  public:
    explicit CngRandomSource(BCRYPT_ALG_HANDLE aes) : aes_(aes) {}
    ~CngRandomSource() override {
        DropKey();
        BCryptCloseAlgorithmProvider(aes_, 0);
    }
    CngRandomSource(const CngRandomSource&) = delete;
    CngRandomSource& operator=(const CngRandomSource&) = delete;

    bool BeginStream() override {
        DropKey();
        unsigned char seed[32];  // 16 bytes of key, 16 of initial counter
        bool seeded = Succeeded(BCryptGenRandom(nullptr, seed, sizeof seed,
                                                BCRYPT_USE_SYSTEM_PREFERRED_RNG)) &&
                      Succeeded(BCryptGenerateSymmetricKey(aes_, &key_, nullptr, 0, seed, kBlock, 0));
        if (seeded) std::memcpy(counter_, seed + kBlock, kBlock);
        SecureZeroMemory(seed, sizeof seed);
        if (!seeded) key_ = nullptr;
        leftover_ = 0;
        return key_ != nullptr;
    }

    bool Fill(unsigned char* data, std::size_t size) override {
        if (key_ == nullptr) return false;
        // Keystream left over from a Fill that ended inside a block.
        std::size_t take = std::min(size, leftover_);
        std::memcpy(data, spare_ + kBlock - leftover_, take);
        leftover_ -= take;
        data += take;
        size -= take;

        std::size_t whole = size / kBlock * kBlock;
        while (whole > 0) {
            std::size_t piece = std::min<std::size_t>(whole, std::size_t{1} << 20);
            if (!Keystream(data, piece)) return false;
            data += piece;
            size -= piece;
            whole -= piece;
        }
        if (size > 0) {
            if (!Keystream(spare_, kBlock)) return false;
            std::memcpy(data, spare_, size);
            leftover_ = kBlock - size;
        }
        return true;
    }

  private:
    // Writes the next counter blocks into out[0..size) and encrypts them in place.
    bool Keystream(unsigned char* out, std::size_t size) {
        for (std::size_t at = 0; at < size; at += kBlock) {
            std::memcpy(out + at, counter_, kBlock);
            for (int i = kBlock - 1; i >= 0 && ++counter_[i] == 0; --i) {
            }
        }
        ULONG produced = 0;
        NTSTATUS status = BCryptEncrypt(key_, out, static_cast<ULONG>(size), nullptr, nullptr, 0,
                                        out, static_cast<ULONG>(size), &produced, 0);
        if (!Succeeded(status) || produced != size) {
            DropKey();
            return false;
        }
        return true;
    }

    void DropKey() {
        if (key_ != nullptr) BCryptDestroyKey(key_);
        key_ = nullptr;
        SecureZeroMemory(counter_, sizeof counter_);
        SecureZeroMemory(spare_, sizeof spare_);
        leftover_ = 0;
    }

    BCRYPT_ALG_HANDLE aes_;
    BCRYPT_KEY_HANDLE key_ = nullptr;
    unsigned char counter_[kBlock] = {};
    unsigned char spare_[kBlock] = {};
    std::size_t leftover_ = 0;
};

}  // namespace

std::unique_ptr<RandomSource> MakeCryptoRandomSource() {
    BCRYPT_ALG_HANDLE aes = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&aes, BCRYPT_AES_ALGORITHM, nullptr, 0)))
        return nullptr;
    wchar_t ecb[] = BCRYPT_CHAIN_MODE_ECB;
    if (!Succeeded(BCryptSetProperty(aes, BCRYPT_CHAINING_MODE, reinterpret_cast<PUCHAR>(ecb),
                                     sizeof ecb, 0))) {
        BCryptCloseAlgorithmProvider(aes, 0);
        return nullptr;
    }
    return std::make_unique<CngRandomSource>(aes);
}

}  // namespace torvix
