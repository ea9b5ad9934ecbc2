#include <sys/resource.h>

#include "platform/OpenFolderLimit.h"

namespace platform {

void AllowManyOpenFolders() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace platform
