#pragma once

// Helpers of views that react to shapes or draw rounded ones: the hit test of a filled path and
// the reader of rounded-corner radii.

#include <cstdint>
#include <string_view>

#include "raster/geometry.h"
#include "raster/path.h"

namespace Velto {

// Whether the pixel (x, y) is covered by the path filled under the non-zero rule. Only that one
// pixel is scan-converted; a path too large for the scan converter hits nothing.
bool HitTestPath(const QorRaster::Path& path, std::int32_t x, std::int32_t y);

// The corner radii (x radius, y radius) that a "rounded" value gives for the rectangle. A block
// "{ x, y }" gives fixed radii (relative cleared); otherwise the text is a percentage expression
// ("$" = 0) of half the rectangle's width and height, limited to 0 to 100 (relative set, as the
// radii follow the rectangle's size). Expression and point errors pass out.
QorRaster::Point ReadCornerRadii(std::string_view text, const QorRaster::Rect& rect, bool& relative);

}  // namespace Velto
