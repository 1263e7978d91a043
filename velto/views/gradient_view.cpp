#include "velto/views/gradient_view.h"

#include <string>
#include <vector>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/layout.h"
#include "gui/resources/shapes.h"
#include "raster/clip.h"
#include "raster/filter.h"
#include "raster/gradient.h"

namespace Velto {

rcGradientView::rcGradientView(const Wex::cRect& r, const cStroke& frame, const QorRaster::Point& cornerRadii,
                               std::int32_t blendMode, const std::array<double, 4>& geometry,
                               std::span<const QorRaster::PaletteStop> stops)
    : rcShapeView(r, frame, cornerRadii, blendMode), fGeometry(geometry) {
  fPalette.Build(stops);
}

void rcGradientView::PaintGradient(Wex::rcGraphicsContext& context, const Wex::cRect& update,
                                   QorRaster::Mask& gradient) {
  const QorRaster::IntRect clip = EdgesToRect(update);
  QorRaster::PalettePaint colors(&gradient, &fPalette);
  QorRaster::ClippedPaint fill(&colors, clip);
  PaintShape(context, clip, fill);
}

void rcLinearGradientView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  QorRaster::LinearMask gradient(fGeometry[0], fGeometry[1], fGeometry[2], fGeometry[3]);
  PaintGradient(context, update, gradient);
}

void rcRadialGradientView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  QorRaster::RadialMask gradient(fGeometry[0], fGeometry[1], fGeometry[2], fGeometry[3]);
  PaintGradient(context, update, gradient);
}

namespace {

// The stops of a "stops" list: each a list of a position (default 0) and a colour (default
// transparent); further items are ignored.
std::vector<QorRaster::PaletteStop> ReadStops(std::string_view text) {
  std::vector<QorRaster::PaletteStop> stops;
  for (const std::string& item : Wex::ParseList(text)) {
    const std::vector<std::string> parts = Wex::ParseList(item);
    const std::string_view position = parts.empty() ? std::string_view() : std::string_view(parts[0]);
    const std::string_view color = parts.size() < 2 ? std::string_view() : std::string_view(parts[1]);
    stops.push_back({Wex::EvaluateExpression(position, 0), ReadColor(color, 0)});
  }
  if (stops.empty()) throw FormatException("No stops defined for gradient");
  return stops;
}

}  // namespace

ref<Wex::rcGUIElement> MakeGradientView(rcRootView&, const Wex::cRect& bounds, const Description& description) {
  const std::vector<QorRaster::PaletteStop> stops = ReadStops(Wex::ValueOf(description, "stops"));
  const cStroke frame = ReadStroke(Wex::ValueOf(description, "frame"), 0);
  const std::int32_t blend = ReadBlendMode(Wex::Unquote(Wex::ValueOf(description, "blend")));
  bool relative = false;
  const QorRaster::Point radii =
      ReadCornerRadii(Wex::ValueOf(description, "rounded"), EdgesToRealRect(bounds), relative);
  if (description.contains("start")) {
    const QorRaster::Point start = ReadRealPoint(Wex::ValueOf(description, "start"), {0, 0});
    const QorRaster::Point end = ReadRealPoint(Wex::ValueOf(description, "end"), {0, 0});
    return ref<Wex::rcGUIElement>(
        new rcLinearGradientView(bounds, frame, radii, blend, {start.x, start.y, end.x, end.y}, stops));
  }
  const QorRaster::Point center = ReadRealPoint(Wex::ValueOf(description, "center"), {0, 0});
  double rx = 0;
  double ry = 0;
  if (description.contains("size")) {
    rx = ry = Wex::EvaluateExpression(Wex::ValueOf(description, "size"), 0);
  } else {
    rx = Wex::EvaluateExpression(Wex::ValueOf(description, "width"), 0);
    ry = Wex::EvaluateExpression(Wex::ValueOf(description, "height"), 0);
  }
  return ref<Wex::rcGUIElement>(new rcRadialGradientView(bounds, frame, radii, blend, {center.x, center.y, rx, ry}, stops));
}

}  // namespace Velto
