// The production random source: an AES-128-CTR keystream from libgcrypt,
// keyed per stream from its strong generator. libgcrypt runs the counter
// mode on the processor's vector AES instructions, several times faster
// than a disk takes the bytes, so random overwrites cost little more than
// patterns.
#include <gcrypt.h>

#include <string.h>

#include <algorithm>
#include <mutex>

#include "torvix/random_source.h"

namespace torvix {
namespace {

// The library must be set up once per process before any other call. The
// program that loads torvix knows nothing of libgcrypt, so torvix does it,
// unless someone in the process has already finished the set-up.
bool CipherLibraryReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        if (gcry_check_version(GCRYPT_VERSION) == nullptr) return;
        if (gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P) == 0) {
            // Keys live in ordinary memory, cleared after use; locked
            // memory would need privileges the program does not have.
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        }
        ready = true;
    });
    return ready;
}

class CryptoRandomSource final : public RandomSource {
  public:
    explicit CryptoRandomSource(gcry_cipher_hd_t cipher) : cipher_(cipher) {}
    ~CryptoRandomSource() override { gcry_cipher_close(cipher_); }
    CryptoRandomSource(const CryptoRandomSource&) = delete;
    CryptoRandomSource& operator=(const CryptoRandomSource&) = delete;

    bool BeginStream() override {
        ready_ = false;
        unsigned char seed[32];  // 16 bytes of key, 16 of initial counter
        gcry_randomize(seed, sizeof seed, GCRY_STRONG_RANDOM);
        bool seeded = gcry_cipher_setkey(cipher_, seed, 16) == 0 &&
                      gcry_cipher_setctr(cipher_, seed + 16, 16) == 0;
        explicit_bzero(seed, sizeof seed);  // a clearing the compiler keeps
        ready_ = seeded;
        return ready_;
    }

    bool Fill(unsigned char* data, std::size_t size) override {
        if (!ready_) return false;
        // The keystream is what encrypting zeros yields. Reading them from
        // one small block that stays in the cache is cheaper than clearing
        // the output first.
        static const unsigned char kZeros[64 << 10] = {};
        while (size > 0) {
            std::size_t piece = std::min(size, sizeof kZeros);
            if (gcry_cipher_encrypt(cipher_, data, piece, kZeros, piece) != 0) {
                ready_ = false;
                return false;
            }
            data += piece;
            size -= piece;
        }
        return true;
    }

    // Measured: made in the writing thread just before each write, the
    // keystream costs less processor time than a second thread handing it
    // over from another core's cache.
    bool MakesBytesCheaply() const override { return true; }

  private:
    gcry_cipher_hd_t cipher_;
    bool ready_ = false;
};

}  // namespace

std::unique_ptr<RandomSource> MakeCryptoRandomSource() {
    if (!CipherLibraryReady()) return nullptr;
    gcry_cipher_hd_t cipher = nullptr;
    if (gcry_cipher_open(&cipher, GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_CTR, 0) != 0) {
        return nullptr;
    }
    return std::make_unique<CryptoRandomSource>(cipher);
}

}  // namespace torvix
