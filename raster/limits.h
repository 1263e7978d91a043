// The raster library's size limits. Paths and their scan conversion grow with their input, and
// input may be untrusted (script sources, path data): these limits keep the memory and time of one
// path operation bounded, far above what any drawing needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace QorRaster {

// The most vertices a path holds: 262,144, a hundred times the outline of a detailed shape with
// its stroke. A path of that size takes 6 MB; building, stroking or dashing one up to the limit
// takes under 0.02 s and 30 MB (release build, 8-core EPYC). Its scan conversion is bounded by
// kMaxScanWork below.
inline constexpr std::size_t kMaxPathVertices = std::size_t{1} << 18;

// The most work a polygon mask may take on, in steps: each chunk of kMaxSpan columns of a row
// visits every edge that crosses the row, a step a visit, and adding an edge's area over the full
// columns it crosses costs a step per kColumnsPerScanStep columns. A visit costs 4 to 12 ns, a
// column under 0.5 ns. Measured at the limit (release build, 8-core EPYC, building the mask and
// rendering every row): the worst paths, thousands of edges stacked in one column across a chunk
// boundary, take 0.7 to 0.9 s; vertical bars over 16384 x 4096 pixels, crossing edges and flat
// edges take 0.05 to 0.5 s; none takes more than 25 MB. A grid of 600 lines over 2048 x 2048
// pixels takes 12 million steps.
inline constexpr std::int64_t kMaxScanWork = std::int64_t{1} << 26;
inline constexpr std::int64_t kColumnsPerScanStep = 16;

// Thrown by an operation that would go beyond one of these limits. A path append that fails
// leaves the path as it was before that append, like an allocation failure; the operations that
// rebuild the whole path (stroking, dashing, closing every subpath) leave it unchanged.
class LimitException : public std::length_error {
 public:
  explicit LimitException(const char* what) : std::length_error(what) {}
};

}  // namespace QorRaster
