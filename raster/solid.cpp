#include "raster/solid.h"

#include "raster/clip.h"

namespace QorRaster {

void SolidRectPaint::Render(std::int32_t x, std::int32_t y, std::int32_t count, PaintSpanList& list) {
  RenderWithin(fRect, x, y, count, list, [&](std::int32_t, std::int32_t n) { list.AppendValue(n, fValue); });
}

}  // namespace QorRaster
