#pragma once

// Helpers of views that react to shapes or draw rounded ones: the hit test of a filled path, the
// reader of rounded-corner radii and the painter of framed rounded rectangles.

#include <cstdint>
#include <string_view>

#include "gui/graphics_context.h"
#include "gui/resources/stroke.h"
#include "raster/geometry.h"
#include "raster/path.h"
#include "raster/source.h"

namespace Velto {

// Whether the pixel (x, y) is covered by the path filled under the non-zero rule. Only that one
// pixel is scan-converted; a path too large for the scan converter hits nothing.
bool HitTestPath(const QorRaster::Path& path, std::int32_t x, std::int32_t y);

// The corner radii (x radius, y radius) that a "rounded" value gives for the rectangle. A block
// "{ x, y }" gives fixed radii (relative cleared); otherwise the text is a percentage expression
// ("$" = 0) of half the rectangle's width and height, limited to 0 to 100 (relative set, as the
// radii follow the rectangle's size). Expression and point errors pass out.
QorRaster::Point ReadCornerRadii(std::string_view text, const QorRaster::Rect& rect, bool& relative);

// Paints the rounded rectangle (radii x, y) with its frame into the context's bitmap inside the
// clip (drawing coordinates): the frame's centre line runs half its width inside the rectangle's
// edge, the fill paint reaches that line, and the frame is composed over the fill before the two
// are blended as one (kBlendNormal, kBlendAdd or kBlendMultiply). In multiply mode the pixels of
// the clip that the shape leaves uncovered keep their colour. A shape beyond the raster library's
// limits draws nothing.
void PaintFramedShape(Wex::rcGraphicsContext& context, const QorRaster::IntRect& clip, const QorRaster::Rect& rect,
                      const QorRaster::Point& radii, const cStroke& frame, QorRaster::Paint& fill,
                      std::int32_t blendMode);

}  // namespace Velto
