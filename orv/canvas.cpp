#include "orv/canvas.h"

#include "ordo/exceptions.h"
#include "orv/paint_reader.h"
#include "raster/filter.h"
#include "raster/solid.h"

namespace ORV {

void Canvas::DrawPaint(QorRaster::Paint&)
{
}

void Canvas::DrawMask(QorRaster::Mask&)
{
}

void ImageCanvas::CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                              PaintSlot& slot)
{
    ReadPaint(context, executor, arguments, slot, PaintFamily::kImage);
}

void ImageCanvas::DrawPaint(QorRaster::Paint& paint)
{
    fImage.Draw(paint);
}

void ImageCanvas::DeclareBounds(const QorRaster::IntRect&)
{
}

QorRaster::IntRect ImageCanvas::GetBounds() const
{
    return fImage.GetBounds();
}

MaskCanvas::MaskCanvas(const QorRaster::IntRect& bounds)
{
    QorRaster::SolidMask transparent(0);
    fMask = std::make_unique<QorRaster::RLEMask>(bounds, transparent);
    fBounds = fMask->GetBounds();
}

void MaskCanvas::CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                             PaintSlot& slot)
{
    ReadPaint(context, executor, arguments, slot, PaintFamily::kMask);
}

void MaskCanvas::DrawMask(QorRaster::Mask& mask)
{
    if (fMask)
        fMask->Draw(mask);
}

void MaskCanvas::DeclareBounds(const QorRaster::IntRect&)
{
    ORDO::ThrowRunTimeError("Bounds cannot be declared for mask");
}

QorRaster::IntRect MaskCanvas::GetBounds() const
{
    return fBounds;
}

std::unique_ptr<QorRaster::RLEMask> MaskCanvas::TakeMask(bool inverted)
{
    if (inverted && fMask) {
        QorRaster::InvertedMask inverse(fMask.get());
        fMask->Set(inverse);
    }
    return std::move(fMask);
}

} // namespace ORV
