#include "gui/resources/shapes.h"

#include "base/expression.h"
#include "base/key_value.h"
#include "gui/resources/canvas.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/layout.h"
#include "raster/combine.h"
#include "raster/limits.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"

namespace Velto {

bool HitTestPath(const QorRaster::Path& path, std::int32_t x, std::int32_t y) {
  const QorRaster::IntRect bounds = path.GetIntBounds();
  if (bounds.IsEmpty() || x < bounds.x || std::int64_t{x} >= std::int64_t{bounds.x} + bounds.width || y < bounds.y ||
      std::int64_t{y} >= std::int64_t{bounds.y} + bounds.height) {
    return false;
  }
  try {
    QorRaster::PolygonMask mask(path, QorRaster::IntRect(x, y, 1, 1), &QorRaster::kNonZeroRule);
    QorRaster::Run<QorRaster::Coverage> run[1];
    QorRaster::Coverage value[1];
    QorRaster::MaskSpanList list(run, value);
    mask.Render(x, y, 1, list);
    return *run[0].fPointer != 0;
  } catch (const QorRaster::LimitException&) {
    return false;
  }
}

QorRaster::Point ReadCornerRadii(std::string_view text, const QorRaster::Rect& rect, bool& relative) {
  if (Wex::IsBlockText(text)) {
    relative = false;
    return ReadRealPoint(text, {0, 0});
  }
  relative = true;
  const double p = Wex::EvaluateExpression(text, 0) * 0.01;
  if (!(p >= 0)) return {0, 0};
  if (p >= 1) return {0.5 * rect.width, 0.5 * rect.height};
  return {0.5 * rect.width * p, 0.5 * rect.height * p};
}

void PaintFramedShape(Wex::rcGraphicsContext& context, const QorRaster::IntRect& clip, const QorRaster::Rect& rect,
                      const QorRaster::Point& radii, const cStroke& frame, QorRaster::Paint& fill,
                      std::int32_t blendMode) {
  const double w = frame.fWidth;
  QorRaster::Path shape;
  QorRaster::Path outline;
  try {
    shape.AddRoundedRect(rect.x + w / 2, rect.y + w / 2, rect.width - w, rect.height - w, radii.x, radii.y, 1.0);
    outline = shape;
    frame.StrokePath(outline);
    cContextCanvas canvas(context);
    QorRaster::SolidPaint frameColor(frame.fColor);
    QorRaster::PolygonMask frameCoverage(outline, clip, &QorRaster::kNonZeroRule);
    QorRaster::MaskedPaint frameLayer(&frameColor, &frameCoverage);
    QorRaster::PolygonMask fillCoverage(shape, clip, &QorRaster::kNonZeroRule);
    QorRaster::MaskedPaint fillLayer(&fill, &fillCoverage);
    QorRaster::OverPaint composed(&fillLayer, &frameLayer);
    if (blendMode != kBlendMultiply) {
      BlendImage(canvas, composed, blendMode, 255);
      return;
    }
    // White under the shape: the product keeps what the shape does not cover.
    QorRaster::SolidRectPaint white(0xFFFFFFFF, clip);
    QorRaster::OverPaint factor(&white, &composed);
    BlendImage(canvas, factor, blendMode, 255);
  } catch (const QorRaster::LimitException&) {
    // Too many vertices or too much scanning for one pass: nothing is drawn.
  }
}

}  // namespace Velto
