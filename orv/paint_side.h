#pragma once

#include <cstdint>
#include <string_view>

#include "orv/canvas.h"
#include "orv/paint.h"
#include "orv/paint_reader.h"
#include "orv/values.h"
#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/solid.h"
#include "raster/source.h"
#include "raster/table.h"

namespace ORDO {
class Interpreter;
}

namespace ORV {

// What the paints of one side have in common, by value type: colours (premultiplied pixels) on
// the image side, coverage on the mask side. The gradient and pattern paints are written once
// over it.
template <typename Value>
struct PaintSide;

template <>
struct PaintSide<QorRaster::Pixel> {
    static constexpr PaintFamily kFamily = PaintFamily::kImage;
    // Maps gradient positions to values.
    using Table = QorRaster::Palette;
    using TableSource = QorRaster::PalettePaint;
    // A source of this side multiplied by coverage.
    using Masked = QorRaster::MaskedPaint;

    // A stop value as written.
    static QorRaster::Pixel Read(ORDO::Interpreter& context, std::string_view text) { return ParseColor(context, text); }
    static QorRaster::Pixel ScaleByOpacity(QorRaster::Pixel value, uint8_t opacity)
    {
        return QorRaster::ScalePixel(value, opacity);
    }
    static void Draw(Canvas& canvas, QorRaster::Paint& paint) { canvas.DrawPaint(paint); }
};

template <>
struct PaintSide<QorRaster::Coverage> {
    static constexpr PaintFamily kFamily = PaintFamily::kMask;
    using Table = QorRaster::MaskTable;
    using TableSource = QorRaster::LookupMask;
    using Masked = QorRaster::MaskedMask;

    static QorRaster::Coverage Read(ORDO::Interpreter&, std::string_view text) { return ParseOpacity(text); }
    static QorRaster::Coverage ScaleByOpacity(QorRaster::Coverage value, uint8_t opacity)
    {
        return QorRaster::ScaleCoverage(value, opacity);
    }
    static void Draw(Canvas& canvas, QorRaster::Mask& mask) { canvas.DrawMask(mask); }
};

// Paints the whole shape with one value, scaled by the slot's opacity, through the coverage.
template <typename Value>
void FillSolid(const PaintSlot& slot, Canvas& canvas, Value value, QorRaster::Mask& coverage)
{
    using Side = PaintSide<Value>;
    QorRaster::SolidSource<Value> solid(Side::ScaleByOpacity(value, slot.opacity));
    typename Side::Masked masked(&solid, &coverage);
    Side::Draw(canvas, masked);
}

} // namespace ORV
