#pragma once

namespace Wex {

// Does nothing on this platform; kept where other platforms must touch objects during drawing.
template <class... T>
inline void PlatformNoOp(const T&...) noexcept
{
}

} // namespace Wex
