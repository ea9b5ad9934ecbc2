// The production random source: an AES-128-CTR keystream from libgcrypt,
// keyed afresh for every stream. libgcrypt runs the counter mode on the
// processor's vector AES instructions, several times faster than a disk
// takes the bytes, so random overwrites cost little more than patterns.
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

// Each stream's key and initial counter are drawn from a second keystream,
// which is keyed from libgcrypt's strong generator every kStreamsPerSeed
// streams and rekeyed from its own output after each draw, so that no key
// drawn can be worked out from what stays in memory. Asking the strong
// generator for every stream cost more processor time than the rest of a
// small file's purge: each request polls the process's usage statistics.
class CryptoRandomSource final : public RandomSource {
  public:
    CryptoRandomSource(gcry_cipher_hd_t stream, gcry_cipher_hd_t seeds)
        : stream_(stream), seeds_(seeds) {}
    ~CryptoRandomSource() override {
        gcry_cipher_close(stream_);
        gcry_cipher_close(seeds_);
    }
    CryptoRandomSource(const CryptoRandomSource&) = delete;
    CryptoRandomSource& operator=(const CryptoRandomSource&) = delete;

    bool BeginStream() override {
        ready_ = false;
        unsigned char seed[32];  // 16 bytes of key, 16 of initial counter
        bool seeded = DrawSeed(seed) && KeyWith(stream_, seed);
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
            if (gcry_cipher_encrypt(stream_, data, piece, kZeros, piece) != 0) {
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
    static constexpr int kStreamsPerSeed = 1024;

    static bool KeyWith(gcry_cipher_hd_t cipher, const unsigned char seed[32]) {
        return gcry_cipher_setkey(cipher, seed, 16) == 0 &&
               gcry_cipher_setctr(cipher, seed + 16, 16) == 0;
    }

    bool DrawSeed(unsigned char seed[32]) {
        bool ok = true;
        if (streamsLeft_ == 0) {
            unsigned char fresh[32];
            gcry_randomize(fresh, sizeof fresh, GCRY_STRONG_RANDOM);
            ok = KeyWith(seeds_, fresh);
            explicit_bzero(fresh, sizeof fresh);
            streamsLeft_ = kStreamsPerSeed;
        }
        // Encrypting zeros in place: the stream's seed, then seeds_'s next key.
        unsigned char drawn[64] = {};
        ok = ok && gcry_cipher_encrypt(seeds_, drawn, sizeof drawn, nullptr, 0) == 0 &&
             KeyWith(seeds_, drawn + 32);
        if (ok) {
            memcpy(seed, drawn, 32);
            --streamsLeft_;
        } else {
            streamsLeft_ = 0;  // the next stream asks the strong generator again
        }
        explicit_bzero(drawn, sizeof drawn);
        return ok;
    }

    gcry_cipher_hd_t stream_;
    gcry_cipher_hd_t seeds_;
    int streamsLeft_ = 0;
    bool ready_ = false;
};

}  // namespace

std::unique_ptr<RandomSource> MakeCryptoRandomSource() {
    if (!CipherLibraryReady()) return nullptr;
    gcry_cipher_hd_t stream = nullptr, seeds = nullptr;
    if (gcry_cipher_open(&stream, GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_CTR, 0) != 0) {
        return nullptr;
    }
    if (gcry_cipher_open(&seeds, GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_CTR, 0) != 0) {
        gcry_cipher_close(stream);
        return nullptr;
    }
    return std::make_unique<CryptoRandomSource>(stream, seeds);
}

}  // namespace torvix
