#include "base/clock.h"

#include <time.h>

namespace Wex {

int64_t GetMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + (static_cast<int64_t>(now.tv_nsec) + 500000) / 1000000;
}

} // namespace Wex
