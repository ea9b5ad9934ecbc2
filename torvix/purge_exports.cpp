// kz_purge_file: the overwrite engine's export.
#include "torvix/torvix.h"

extern "C" int32_t kz_purge_file(const char*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t* seconds) {
    if (seconds != nullptr) *seconds = 0;
    return -1;  // the overwrite engine is not built yet
}
