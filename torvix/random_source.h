// Where the bytes of a random overwrite come from.
//
// Every random overwrite begins a fresh stream, so no two overwrites (and no
// two calls) share bytes, and no stream repeats a short block over the file.
// Production uses MakeCryptoRandomSource(); tests substitute a known stream
// to check every byte that reaches the file.
#pragma once

#include <cstddef>
#include <memory>

namespace torvix {

class RandomSource {
  public:
    virtual ~RandomSource() = default;

    // Starts a new stream unrelated to every earlier one. False when the
    // generator could not be seeded; then nothing may be written as random.
    virtual bool BeginStream() = 0;

    // Fills data[0..size) with the stream's next bytes. False on failure.
    // May be called on another thread than BeginStream, never on two at once.
    virtual bool Fill(unsigned char* data, std::size_t size) = 0;

    // True when the stream is made several times faster than the system
    // copies written bytes: then making each piece just before it is written
    // costs less than having a second thread make it ahead, since the piece
    // need not travel from the other thread's processor cache.
    virtual bool MakesBytesCheaply() const { return false; }
};

// A keystream generator (AES-128 in counter mode) whose key and counter come
// from the operating system's entropy for every stream. Null if the cipher
// cannot be set up.
std::unique_ptr<RandomSource> MakeCryptoRandomSource();

}  // namespace torvix
