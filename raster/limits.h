// The raster library's size limits. Paths and their scan conversion grow with their input, and
// input may be untrusted (script sources, path data): these limits keep the memory and time of one
// path operation bounded, far above what any drawing needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace QorRaster {

// The most vertices a path holds: 262,144, a hundred times the outline of a detailed shape with
// its stroke. A path of that size takes 6 MB; its dashing, stroking and scan conversion stay under
// 100 MB and take a few hundredths of a second.
inline constexpr std::size_t kMaxPathVertices = std::size_t{1} << 18;

// The most work a polygon mask may take on: the sum over its edges of the pixel rows each one
// crosses, times the spans of kMaxSpan columns in which a row is rendered. 2^22 steps take well
// under a second even when every edge stays active over every row; a view of a thousand rows and
// columns still allows a shape to cross each row two thousand times.
inline constexpr std::int64_t kMaxScanWork = std::int64_t{1} << 22;

// Thrown by an operation that would go beyond one of these limits. A path append that fails
// leaves the path as it was before that append, like an allocation failure; the operations that
// rebuild the whole path (stroking, dashing, closing every subpath) leave it unchanged.
class LimitException : public std::length_error {
 public:
  explicit LimitException(const char* what) : std::length_error(what) {}
};

}  // namespace QorRaster
