#include "orv/plain_paints.h"

#include "orv/canvas.h"
#include "orv/executor.h"
#include "raster/combine.h"
#include "raster/solid.h"

namespace ORV {

bool ColorPaint::IsVisible(const PaintSlot&) const
{
    return fColor != 0;
}

void ColorPaint::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect&,
                      QorRaster::Mask& coverage) const
{
    QorRaster::SolidPaint solid(QorRaster::ScalePixel(fColor, slot.opacity));
    QorRaster::MaskedPaint masked(&solid, &coverage);
    executor.GetCanvas().DrawPaint(masked);
}

bool CoveragePaint::IsVisible(const PaintSlot&) const
{
    return fCoverage != 0;
}

void CoveragePaint::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect&,
                         QorRaster::Mask& coverage) const
{
    QorRaster::SolidMask solid(QorRaster::ScaleCoverage(fCoverage, slot.opacity));
    QorRaster::MaskedMask masked(&solid, &coverage);
    executor.GetCanvas().DrawMask(masked);
}

} // namespace ORV
