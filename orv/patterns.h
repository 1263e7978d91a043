#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "orv/canvas.h"
#include "orv/paint.h"
#include "orv/paint_side.h"
#include "raster/image.h"

namespace ORDO {
class Arguments;
class Interpreter;
}

namespace ORV {

// A paint that is also a drawing target: its body of ORV statements is drawn once, when the paint
// is specified, into an image of its own at a resolution factor (pattern pixels per pattern
// unit); fills then repeat that image over the whole plane through the paint's placement.
class PatternCanvas : public Paint, public Canvas {
public:
    // Gives the values of the image back to the run's allowance.
    ~PatternCanvas() override;

    int32_t GetResolution() const { return fResolution; }

protected:
    // valuesLeft is the run's allowance of pattern values, on which the image draws while it lives.
    PatternCanvas(int32_t resolution, int64_t& valuesLeft) : fResolution(resolution), fValuesLeft(valuesLeft) {}

    // Bounds declared in pattern units, scaled to pattern pixels: "Multiple bounds declarations"
    // when declared before, "Value out of range" when the scaled rectangle is empty, leaves the
    // plane that sources address, or holds more values than the run may still allocate.
    QorRaster::IntRect ScaleBounds(const QorRaster::IntRect& declared, bool declaredBefore) const;
    // Takes the values of a new image's bounds from the allowance.
    void Withdraw(const QorRaster::IntRect& bounds);

    int32_t fResolution;

private:
    int64_t& fValuesLeft;
    int64_t fValuesTaken = 0;
};

// The pattern of one side: pixels for image canvases, coverage for mask canvases. Its body
// paints exactly like a top-level drawing of that side.
template <typename Value>
class Pattern final : public PatternCanvas {
public:
    using Side = PaintSide<Value>;

    Pattern(int32_t resolution, int64_t& valuesLeft) : PatternCanvas(resolution, valuesLeft) {}

    // Visible once the body has declared its bounds.
    bool IsVisible(const PaintSlot& slot) const override;
    // Samples the image, repeated over the plane, through the coverage at the slot's opacity.
    void Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
              QorRaster::Mask& coverage) const override;

    void CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                     PaintSlot& slot) override;
    // Composites into the image: "Undeclared bounds" before the bounds are declared. Each side
    // takes only its own kind of source and ignores the other.
    void DrawPaint(QorRaster::Paint& paint) override;
    void DrawMask(QorRaster::Mask& mask) override;
    // Makes the transparent image over the bounds, given in pattern units.
    void DeclareBounds(const QorRaster::IntRect& bounds) override;
    // The image's bounds in pattern pixels: "Undeclared bounds" before they are declared.
    QorRaster::IntRect GetBounds() const override;

private:
    void Draw(QorRaster::Source<Value>& source);

    std::unique_ptr<QorRaster::BasicImage<Value>> fImage;
};

using ImagePattern = Pattern<QorRaster::Pixel>;
using MaskPattern = Pattern<QorRaster::Coverage>;

extern template class Pattern<QorRaster::Pixel>;
extern template class Pattern<QorRaster::Coverage>;

// Makes a pattern of a side at the executor's pattern scale and renders its body.
std::unique_ptr<Paint> MakePattern(ORDO::Interpreter& context, Executor& executor, std::string_view body,
                                   PaintFamily family);

// Runs the body of a new pattern with a nested executor that draws on the pattern: under a
// uniform scale by its resolution factor, from a copy of the running state without its clip
// mask, in a context nested in the running one. Errors of the body pass out.
void RenderPattern(PatternCanvas& pattern, ORDO::Interpreter& context, Executor& executor, std::string_view body);

} // namespace ORV
