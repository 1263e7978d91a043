#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orv/paint.h"
#include "orv/paint_side.h"
#include "raster/geometry.h"
#include "raster/table.h"

namespace ORDO {
class Interpreter;
}

namespace ORV {

// A parsed gradient description. Stops ascend in position; their values stay text until the
// paint's side reads them as colours or opacities.
struct Gradient {
    enum Kind : uint8_t { kLinear = 0, kRadial = 1 };
    struct Stop {
        double position;
        std::string value;
    };

    Kind kind = kLinear;
    // Linear: the from point; radial: the centre.
    QorRaster::Point first;
    // Linear: the to point; radial: the radii.
    QorRaster::Point second;
    std::vector<Stop> stops;
};

// Reads "linear x0,y0,x1,y1" or "radial cx,cy,rx[,ry]" with "stops: position value ..." or
// "from: value to: value". With reverseRadial a radial gradient's stops are mirrored (position p
// stored at 1 - p, order reversed), so that position 0 lies at the centre of a mask whose value
// falls from the centre outwards. "Missing argument(s)", "Unrecognized gradient type", "Invalid
// stops for gradient", the list and number messages, "Unrecognized labels or too many arguments".
Gradient ParseGradient(ORDO::Interpreter& context, std::string_view text, bool reverseRadial);

// Makes the paint of a side for a parsed gradient; the stop values are read first, so an invalid
// one throws before anything is made.
std::unique_ptr<Paint> MakeGradientPaint(ORDO::Interpreter& context, const Gradient& gradient, PaintFamily family);

// A gradient paint: a table of 256 values built from the stops once, and the gradient's two
// points in paint coordinates. A fill maps the shape's pixels to positions through a gradient
// mask and the positions to values through the table.
template <typename Value>
class GradientPaint : public Paint {
public:
    using Side = PaintSide<Value>;

    GradientPaint(std::span<const QorRaster::Stop<Value>> stops, const QorRaster::Point& first,
                  const QorRaster::Point& second);

    // Visible when any stop value is not 0.
    bool IsVisible(const PaintSlot& slot) const override;

protected:

    // The placement of the paint for a shape with the given bounds.
    static QorRaster::Transform Place(const PaintSlot& slot, const Executor& executor, const QorRaster::Rect& bounds);
    // Paints the shape with positions through the table, through the coverage at the slot's opacity.
    void FillPositions(const PaintSlot& slot, Executor& executor, QorRaster::Mask& positions,
                       QorRaster::Mask& coverage) const;
    // Paints the whole shape with one table entry, scaled by the slot's opacity: what a gradient
    // without extent shows.
    void FillEntry(const PaintSlot& slot, Executor& executor, uint8_t entry, QorRaster::Mask& coverage) const;

    typename Side::Table fTable;
    bool fVisible;
    QorRaster::Point fFirst;
    QorRaster::Point fSecond;
};

// Constant across the line from the from point to the to point, rising along it.
template <typename Value>
class LinearGradient final : public GradientPaint<Value> {
public:
    using GradientPaint<Value>::GradientPaint;
    void Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
              QorRaster::Mask& coverage) const override;
};

// Over an ellipse around the centre, axis-aligned on the device, from the centre outwards.
template <typename Value>
class RadialGradient final : public GradientPaint<Value> {
public:
    using GradientPaint<Value>::GradientPaint;
    void Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
              QorRaster::Mask& coverage) const override;
};

using ColorGradient = GradientPaint<QorRaster::Pixel>;
using CoverageGradient = GradientPaint<QorRaster::Coverage>;
using LinearColorGradient = LinearGradient<QorRaster::Pixel>;
using RadialColorGradient = RadialGradient<QorRaster::Pixel>;
using LinearCoverageGradient = LinearGradient<QorRaster::Coverage>;
using RadialCoverageGradient = RadialGradient<QorRaster::Coverage>;

extern template class GradientPaint<QorRaster::Pixel>;
extern template class GradientPaint<QorRaster::Coverage>;
extern template class LinearGradient<QorRaster::Pixel>;
extern template class LinearGradient<QorRaster::Coverage>;
extern template class RadialGradient<QorRaster::Pixel>;
extern template class RadialGradient<QorRaster::Coverage>;

} // namespace ORV
