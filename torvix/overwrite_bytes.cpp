#include "torvix/overwrite_bytes.h"

#include <algorithm>
#include <cstring>

namespace torvix {

PatternBytes::PatternBytes(unsigned char byte, WriteBuffer& buffer) : buffer_(buffer) {
    std::memset(buffer_.data(), byte, buffer_.size());
}

bool PatternBytes::Next(std::size_t wanted, const unsigned char** data, std::size_t* size) {
    *data = buffer_.data();
    *size = std::min(wanted, buffer_.size());
    return true;
}

bool InlineRandomBytes::Next(std::size_t wanted, const unsigned char** data, std::size_t* size) {
    *size = std::min(wanted, buffer_.size());
    *data = buffer_.data();
    return random_.Fill(buffer_.data(), *size);
}

}  // namespace torvix
