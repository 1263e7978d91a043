#pragma once

#include <cstdint>

#include "orv/maybe_owned.h"
#include "raster/combine.h"
#include "raster/solid.h"
#include "raster/transform.h"

namespace ORV {

class Executor;
class Paint;

// A paint with the settings that place it: the fill and the pen of a drawing state each have one.
struct PaintSlot {
    // Applied to paint coordinates before everything else.
    QorRaster::Transform transform;
    // Paint coordinates are relative to the shape's bounding box.
    bool relative = false;
    uint8_t opacity = 255;
    MaybeOwned<Paint> paint;

    // True when painting through this slot can put anything on the canvas: it holds a visible
    // paint at an opacity above 0. Otherwise no raster work is done for it.
    bool IsPainting() const;
};

// What fills a shape: colours on an image canvas, coverage on a mask canvas.
class Paint {
public:
    virtual ~Paint() = default;
    // False when the paint would draw nothing.
    virtual bool IsVisible(const PaintSlot& slot) const = 0;
    // Paints through the coverage mask onto the executor's canvas; bounds is the shape's box in
    // user coordinates, onto which relative paints map the unit square.
    virtual void Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
                      QorRaster::Mask& coverage) const = 0;
};

// The coverage of a shape scaled by a slot's opacity, built on the stack of a Fill: the coverage
// itself at full opacity, its product with the opacity otherwise.
class OpacityMask {
public:
    OpacityMask(const PaintSlot& slot, QorRaster::Mask& coverage)
        : fOpacity(slot.opacity), fProduct(&coverage, &fOpacity), fEffective(slot.opacity < 255 ? &fProduct : &coverage)
    {
    }
    OpacityMask(const OpacityMask&) = delete;
    OpacityMask& operator=(const OpacityMask&) = delete;

    QorRaster::Mask& Get() const { return *fEffective; }

private:
    QorRaster::SolidMask fOpacity;
    QorRaster::MaskedMask fProduct;
    QorRaster::Mask* fEffective;
};

// Carries paint coordinates to device coordinates: the slot's transform, then, for a relative
// paint, the map of paint coordinates onto the shape, then the current transform of the drawing.
inline QorRaster::Transform PlacePaint(const PaintSlot& slot, const QorRaster::Transform& relativeMap,
                                       const QorRaster::Transform& current)
{
    const QorRaster::Transform placed =
        slot.relative ? QorRaster::Transform::Multiply(slot.transform, relativeMap) : slot.transform;
    return QorRaster::Transform::Multiply(placed, current);
}

inline bool PaintSlot::IsPainting() const
{
    return opacity != 0 && paint && paint->IsVisible(*this);
}

} // namespace ORV
