#pragma once

#include "orv/paint.h"
#include "raster/source.h"

namespace ORV {

// One premultiplied colour, scaled by the slot's opacity and drawn through the shape's coverage.
class ColorPaint : public Paint {
public:
    explicit ColorPaint(QorRaster::Pixel color) : fColor(color) {}
    bool IsVisible(const PaintSlot& slot) const override;
    void Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
              QorRaster::Mask& coverage) const override;

private:
    QorRaster::Pixel fColor;
};

// One coverage value, scaled by the slot's opacity and added through the shape's coverage.
class CoveragePaint : public Paint {
public:
    explicit CoveragePaint(QorRaster::Coverage coverage) : fCoverage(coverage) {}
    bool IsVisible(const PaintSlot& slot) const override;
    void Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
              QorRaster::Mask& coverage) const override;

private:
    QorRaster::Coverage fCoverage;
};

} // namespace ORV
