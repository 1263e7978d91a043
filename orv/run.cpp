#include "orv/run.h"

#include "ordo/interpreter.h"
#include "orv/canvas.h"
#include "orv/executor.h"

namespace ORV {

void RunSource(QorRaster::Image& image, double scale, ORDO::Variables& variables, std::string_view source)
{
    ImageCanvas canvas(image);
    Executor executor(canvas, QorRaster::Transform().ScaleUniform(scale));
    ORDO::Interpreter context(executor, variables, kStatementsLimit, kRecursionLimit);
    context.RunBlock(source);
}

} // namespace ORV
