#pragma once

// The gradient views: the shape of the rectangle view (rounded corners, frame, blend mode) filled
// with a colour gradient, linear between two points or radial over an ellipse, whose stops are
// turned into a 256-entry palette once, when the view is made.

#include <array>
#include <cstdint>
#include <span>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/geometry.h"
#include "raster/source.h"
#include "raster/table.h"
#include "velto/views/rectangle_view.h"

namespace Velto {

class rcRootView;

class rcGradientView : public rcShapeView {
 public:
  // The geometry is (start x, start y, end x, end y) of a linear gradient or (centre x, centre y,
  // rx, ry) of a radial one, in view coordinates; the stops are used in the order given.
  rcGradientView(const Wex::cRect& r, const cStroke& frame, const QorRaster::Point& cornerRadii,
                 std::int32_t blendMode, const std::array<double, 4>& geometry,
                 std::span<const QorRaster::PaletteStop> stops);

  const std::array<double, 4>& GetGeometry() const { return fGeometry; }
  const QorRaster::Palette& GetPalette() const { return fPalette; }

 protected:
  // Maps the mask's coverage through the palette, limits it to the update rectangle and paints
  // the shape with it.
  void PaintGradient(Wex::rcGraphicsContext& context, const Wex::cRect& update, QorRaster::Mask& gradient);

  std::array<double, 4> fGeometry;
  QorRaster::Palette fPalette;
};

// Coverage 0 at the start point rising to 255 at the end point.
class rcLinearGradientView : public rcGradientView {
 public:
  using rcGradientView::rcGradientView;
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
};

// Coverage 255 at the centre falling to 0 on the ellipse of the radii, and 0 outside it.
class rcRadialGradientView : public rcGradientView {
 public:
  using rcGradientView::rcGradientView;
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
};

// The "gradient" type: "stops" (a list of stops, each a list of a position expression and a
// colour; an absent or empty list fails with "No stops defined for gradient" before any other
// key is read), "frame", "blend", "rounded" as for the rectangle; then "start" makes the view
// linear, towards "end"; without it the view is radial about "center", with both radii "size"
// or, without "size", the radii "width" and "height".
ref<Wex::rcGUIElement> MakeGradientView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
