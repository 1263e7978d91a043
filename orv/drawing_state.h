#pragma once

#include <cstdint>

#include "orv/maybe_owned.h"
#include "orv/paint.h"
#include "raster/source.h"
#include "raster/stroke.h"
#include "raster/table.h"
#include "raster/transform.h"

namespace ORV {

// The graphics state of an executor. Copies borrow the gamma table, the paints and the clip mask
// of the state they come from. Members are released in reverse order: the clip mask first, then
// the pen's paint, the fill's paint and the gamma table.
struct DrawingState {
    explicit DrawingState(const QorRaster::Transform& initialTransform) : transform(initialTransform) {}

    // Sets the anti-aliasing gamma: a value other than the current one is stored, and a gamma
    // table is built for it unless it is within 0.0001 of 1.
    void SetGamma(double gamma);

    QorRaster::Transform transform;
    double aaGamma = 1.0;
    double curveQuality = 1.0;
    double patternResolution = 1.0;
    MaybeOwned<QorRaster::GammaTable> gammaTable;
    bool evenOdd = false;
    PaintSlot fill;
    PaintSlot pen;
    double penWidth = 1.0;
    QorRaster::CapStyle caps = QorRaster::CapStyle::kButt;
    QorRaster::JointStyle joints = QorRaster::JointStyle::kMiter;
    double miterLimit = 2.0;
    double dashOn = 0;
    double dashOff = 0;
    double dashOffset = 0;
    MaybeOwned<QorRaster::Mask> clipMask;
};

} // namespace ORV
