#pragma once

#include <memory>

#include "raster/image.h"
#include "raster/rle.h"

namespace ORDO {
class Arguments;
class Interpreter;
}

namespace ORV {

class Executor;
struct PaintSlot;

// The target that an executor draws on. Image canvases take colour paints, mask canvases
// coverage paints; each ignores what belongs to the other.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Reads a paint description from an instruction's arguments into the slot.
    virtual void CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                             PaintSlot& slot) = 0;
    // Composites premultiplied pixels onto the target.
    virtual void DrawPaint(QorRaster::Paint& paint);
    // Composites coverage onto the target.
    virtual void DrawMask(QorRaster::Mask& mask);
    // Receives the rectangle of a "bounds" instruction.
    virtual void DeclareBounds(const QorRaster::IntRect& bounds) = 0;
    // The target's rectangle, to which shape coverage is limited.
    virtual QorRaster::IntRect GetBounds() const = 0;
};

// Draws colours source-over onto an image that the caller owns.
class ImageCanvas : public Canvas {
public:
    explicit ImageCanvas(QorRaster::Image& image) : fImage(image) {}

    void CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                     PaintSlot& slot) override;
    void DrawPaint(QorRaster::Paint& paint) override;
    // Declared bounds mean nothing to an image.
    void DeclareBounds(const QorRaster::IntRect& bounds) override;
    QorRaster::IntRect GetBounds() const override;

private:
    QorRaster::Image& fImage;
};

// Collects coverage into a run-length mask, which starts transparent and is taken at the end.
class MaskCanvas : public Canvas {
public:
    explicit MaskCanvas(const QorRaster::IntRect& bounds);

    void CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                     PaintSlot& slot) override;
    void DrawMask(QorRaster::Mask& mask) override;
    // "Bounds cannot be declared for mask".
    void DeclareBounds(const QorRaster::IntRect& bounds) override;
    QorRaster::IntRect GetBounds() const override;

    // Hands the mask over, inverted in place first when asked; the canvas then holds none.
    std::unique_ptr<QorRaster::RLEMask> TakeMask(bool inverted);

private:
    QorRaster::IntRect fBounds;
    std::unique_ptr<QorRaster::RLEMask> fMask;
};

} // namespace ORV
