// The program's clock.
#pragma once

#include <cstdint>

namespace Wex {

// Milliseconds since system start, rounded. Timers and event times use its low 32 bits.
int64_t GetMilliseconds();

} // namespace Wex
