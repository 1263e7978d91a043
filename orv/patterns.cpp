#include "orv/patterns.h"

#include <new>
#include <type_traits>

#include "ordo/exceptions.h"
#include "orv/executor.h"
#include "orv/paint_reader.h"
#include "raster/image_sampler.h"

namespace ORV {

namespace {

template <typename Value>
std::unique_ptr<Paint> MakeSidePattern(ORDO::Interpreter& context, Executor& executor, std::string_view body)
{
    auto pattern = std::make_unique<Pattern<Value>>(executor.PatternScale(), executor.PatternValuesLeft());
    RenderPattern(*pattern, context, executor, body);
    return pattern;
}

} // namespace

PatternCanvas::~PatternCanvas()
{
    fValuesLeft += fValuesTaken;
}

QorRaster::IntRect PatternCanvas::ScaleBounds(const QorRaster::IntRect& declared, bool declaredBefore) const
{
    // In 64 bits, where no product of two 32-bit numbers overflows.
    const int64_t s = fResolution;
    const int64_t x = declared.x * s;
    const int64_t y = declared.y * s;
    const int64_t width = declared.width * s;
    const int64_t height = declared.height * s;
    if (declaredBefore)
        ORDO::ThrowRunTimeError("Multiple bounds declarations");
    constexpr QorRaster::IntRect kPlane = QorRaster::WholePlaneRect;
    const bool inPlane = x >= kPlane.x && y >= kPlane.y && x + width <= kPlane.GetRight() &&
                         y + height <= kPlane.GetBottom();
    if (width <= 0 || height <= 0 || !inPlane || width * height > fValuesLeft)
        ORDO::ThrowRunTimeError("Value out of range");
    return QorRaster::IntRect(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(width),
                              static_cast<int32_t>(height));
}

void PatternCanvas::Withdraw(const QorRaster::IntRect& bounds)
{
    const int64_t values = int64_t{bounds.width} * bounds.height;
    fValuesLeft -= values;
    fValuesTaken += values;
}

template <typename Value>
bool Pattern<Value>::IsVisible(const PaintSlot&) const
{
    return fImage != nullptr;
}

// The tile's pixels are scaled down by the resolution factor into pattern units and placed like
// any paint; a relative pattern stretches its tile over the shape's bounds.
template <typename Value>
void Pattern<Value>::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
                          QorRaster::Mask& coverage) const
{
    if (!fImage)
        return;
    const QorRaster::IntRect tile = fImage->GetBounds();
    const double s = fResolution;
    const QorRaster::Transform tileOnShape = QorRaster::Transform()
                                                 .Translate(tile.x, tile.y)
                                                 .Scale(s * bounds.width / tile.width, s * bounds.height / tile.height)
                                                 .Translate(bounds.x, bounds.y);
    const QorRaster::Transform sampling = QorRaster::Transform::Multiply(
        QorRaster::Transform().ScaleUniform(1.0 / s), PlacePaint(slot, tileOnShape, executor.GetState().transform));
    QorRaster::TransformedSource<Value> tiles(*fImage, true, sampling, QorRaster::WholePlaneRect);
    const OpacityMask effective(slot, coverage);
    typename Side::Masked masked(&tiles, &effective.Get());
    Side::Draw(executor.GetCanvas(), masked);
}

template <typename Value>
void Pattern<Value>::CreatePaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
                                 PaintSlot& slot)
{
    ReadPaint(context, executor, arguments, slot, Side::kFamily);
}

template <typename Value>
void Pattern<Value>::DrawPaint(QorRaster::Paint& paint)
{
    if constexpr (std::is_same_v<Value, QorRaster::Pixel>)
        Draw(paint);
}

template <typename Value>
void Pattern<Value>::DrawMask(QorRaster::Mask& mask)
{
    if constexpr (std::is_same_v<Value, QorRaster::Coverage>)
        Draw(mask);
}

template <typename Value>
void Pattern<Value>::Draw(QorRaster::Source<Value>& source)
{
    if (!fImage)
        ORDO::ThrowRunTimeError("Undeclared bounds");
    fImage->Draw(source);
}

// A new image is transparent throughout, so nothing needs to be rendered into it.
template <typename Value>
void Pattern<Value>::DeclareBounds(const QorRaster::IntRect& bounds)
{
    const QorRaster::IntRect scaled = ScaleBounds(bounds, fImage != nullptr);
    try {
        fImage = std::make_unique<QorRaster::BasicImage<Value>>(scaled);
    } catch (const std::bad_alloc&) {
        ORDO::ThrowRunTimeError("Value out of range");
    }
    Withdraw(scaled);
}

template <typename Value>
QorRaster::IntRect Pattern<Value>::GetBounds() const
{
    if (!fImage)
        ORDO::ThrowRunTimeError("Undeclared bounds");
    return fImage->GetBounds();
}

template class Pattern<QorRaster::Pixel>;
template class Pattern<QorRaster::Coverage>;

std::unique_ptr<Paint> MakePattern(ORDO::Interpreter& context, Executor& executor, std::string_view body,
                                   PaintFamily family)
{
    if (family == PaintFamily::kImage)
        return MakeSidePattern<QorRaster::Pixel>(context, executor, body);
    return MakeSidePattern<QorRaster::Coverage>(context, executor, body);
}

void RenderPattern(PatternCanvas& pattern, ORDO::Interpreter& context, Executor& executor, std::string_view body)
{
    Executor nested(pattern, executor, QorRaster::Transform().ScaleUniform(pattern.GetResolution()));
    nested.RunBlock(context, body);
}

} // namespace ORV
