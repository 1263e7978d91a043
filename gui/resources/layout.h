#pragma once

// Readers of layout rectangles, points and coordinate pairs in description values. Each field is
// an arithmetic expression; errors of the expression evaluator pass through unchanged, and the
// results are not checked (a rectangle may come out with a negative width or height).

#include <cstdint>
#include <string_view>
#include <utility>

#include "gui/geometry.h"
#include "raster/geometry.h"

namespace Velto {

// "{ left, top, width, height }" against a reference rectangle; empty text gives the reference.
// Integer expressions see the variables l, t, w (the reference's left, top and width, replaced by
// the fields as they are read), r, b, h (the reference's right, bottom and height) and $ (the
// reference's own value of the field being read). An empty field gives 0; items after the fourth
// are ignored. Right and bottom wrap around in 32 bits.
Wex::cRect ReadLayoutRect(std::string_view text, const Wex::cRect& reference);

// "{ x, y }": the second field is evaluated first, each with "$" standing for, and an empty field
// giving, the default's coordinate; items after the second are ignored, and empty text gives the
// default.
std::pair<std::int32_t, std::int32_t> ReadIntPair(std::string_view text,
                                                  std::pair<std::int32_t, std::int32_t> defaultPair);
std::pair<double, double> ReadRealPair(std::string_view text, std::pair<double, double> defaultPair);

// The pairs as points.
Wex::cPoint ReadIntPoint(std::string_view text, const Wex::cPoint& defaultPoint);
QorRaster::Point ReadRealPoint(std::string_view text, const QorRaster::Point& defaultPoint);

}  // namespace Velto
