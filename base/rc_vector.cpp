#include "base/rc_vector.h"

namespace Wex {

int64_t GrowCapacity(int64_t capacity, int64_t increment, int64_t needed) noexcept
{
    if (capacity >= needed) {
        return capacity;
    }
    int64_t grown = 1;
    bool overflow = false;
    if (increment != 0) {
        overflow = __builtin_add_overflow(capacity, increment, &grown);
    } else if (capacity != 0) {
        overflow = __builtin_mul_overflow(capacity, 2, &grown);
    }
    if (overflow) {
        grown = std::numeric_limits<int64_t>::max();
    }
    return std::max(grown, needed);
}

} // namespace Wex
