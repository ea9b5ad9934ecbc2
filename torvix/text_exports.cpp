// lt and gt: the program text exports.
#include <algorithm>
#include <cstring>

#include "torvix/text_store.h"
#include "torvix/torvix.h"

extern "C" int32_t lt(const char* path, int32_t /*reserved*/) {
    if (path == nullptr) return -1;
    return torvix::TheTextStore().Load(path);
}

extern "C" int32_t gt(int32_t number, int32_t /*language*/, char* buffer, int32_t buffer_size,
                      int32_t /*startup_completed*/) {
    if (buffer == nullptr || buffer_size <= 0) return 0;
    const std::string* text = torvix::TheTextStore().Find(number);
    if (text == nullptr) return 0;
    auto n = static_cast<int32_t>(std::min<std::size_t>(text->size(), buffer_size));
    std::memcpy(buffer, text->data(), n);
    if (n < buffer_size) buffer[n] = '\0';
    return n;
}
