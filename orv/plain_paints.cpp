#include "orv/plain_paints.h"

#include "orv/executor.h"
#include "orv/paint_side.h"

namespace ORV {

bool ColorPaint::IsVisible(const PaintSlot&) const
{
    return fColor != 0;
}

void ColorPaint::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect&,
                      QorRaster::Mask& coverage) const
{
    FillSolid(slot, executor.GetCanvas(), fColor, coverage);
}

bool CoveragePaint::IsVisible(const PaintSlot&) const
{
    return fCoverage != 0;
}

void CoveragePaint::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect&,
                         QorRaster::Mask& coverage) const
{
    FillSolid(slot, executor.GetCanvas(), fCoverage, coverage);
}

} // namespace ORV
