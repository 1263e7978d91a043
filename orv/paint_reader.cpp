#include "orv/paint_reader.h"

#include <memory>

#include "ordo/arguments.h"
#include "ordo/value.h"
#include "orv/gradients.h"
#include "orv/paint.h"
#include "orv/patterns.h"
#include "orv/plain_paints.h"
#include "orv/transforms.h"
#include "orv/values.h"

namespace ORV {

namespace {

std::unique_ptr<Paint> MakeValuePaint(ORDO::Interpreter& context, const std::string& value, PaintFamily family)
{
    if (family == PaintFamily::kImage)
        return std::make_unique<ColorPaint>(ParseColor(context, value));
    return std::make_unique<CoveragePaint>(ParseOpacity(value));
}

} // namespace

void ReadPaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
               PaintSlot& slot, PaintFamily family)
{
    // The first of a pattern, a gradient and a value makes the paint; the others stay untaken.
    if (const std::string* const body = arguments.FindLabelled("pattern", false))
        slot.paint.Own(MakePattern(context, executor, *body, family));
    else if (const std::string* const gradient = arguments.FindLabelled("gradient", true))
        slot.paint.Own(MakeGradientPaint(context, ParseGradient(context, *gradient, true), family));
    else if (const std::string* const value = arguments.FindPositional(0, true))
        slot.paint.Own(MakeValuePaint(context, *value, family));
    if (const std::string* const opacity = arguments.FindLabelled("opacity", true))
        slot.opacity = ParseOpacity(*opacity);
    if (const std::string* const relative = arguments.FindLabelled("relative", true))
        slot.relative = ORDO::ToBoolean(*relative);
    if (const std::string* const transform = arguments.FindLabelled("transform", false))
        slot.transform = ParseTransform(context, *transform);
}

} // namespace ORV
