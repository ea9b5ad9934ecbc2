// The AES-128 counter-mode keystream, made with the vector AES instructions
// of recent x86-64 processors (AVX-512 with VAES).
//
// These make the keystream about four times as fast on one core as the
// cipher library's code, so a random overwrite costs the processor little
// more than a pattern and keeps pace with the disk even when other programs
// share the processor. The bytes are exactly those of the library's
// aes-128-ctr for the same key and first counter block: the counter is one
// 128-bit big-endian number that goes up by one per 16-byte block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace torvix {

class AesCtrKeystream {
  public:
    // True when this processor and system run the instructions. Where it is
    // false nothing else here may be called.
    static bool Available();

    AesCtrKeystream() = default;
    ~AesCtrKeystream();  // clears the key and the unused bytes
    AesCtrKeystream(const AesCtrKeystream&) = delete;
    AesCtrKeystream& operator=(const AesCtrKeystream&) = delete;

    // Begins the stream of this key at this counter block.
    void Start(const unsigned char key[16], const unsigned char counter[16]);
    // The stream's next `size` bytes, continuing where the last call ended.
    void Generate(unsigned char* data, std::size_t size);

  private:
    void Clear();

    alignas(16) unsigned char roundKeys_[11][16] = {};
    uint64_t counterHigh_ = 0;  // the next block's counter
    uint64_t counterLow_ = 0;
    // The last block made, of which only the final restSize_ bytes are
    // still to be given out.
    unsigned char rest_[16] = {};
    std::size_t restSize_ = 0;
};

}  // namespace torvix
