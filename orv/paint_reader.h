#pragma once

namespace ORDO {
class Arguments;
class Interpreter;
}

namespace ORV {

class Executor;
struct PaintSlot;

// The two families of paints: colours for image canvases, coverage for mask canvases.
enum class PaintFamily { kImage, kMask };

// Reads the paint description of a fill, pen or wipe instruction into a paint slot: the paint
// (a "pattern" body, else a "gradient", else the positional value: a colour for images, an
// opacity for masks), then "opacity", "relative" and "transform". Whatever is absent stays as it
// was; arguments left untaken are the calling instruction's to report.
void ReadPaint(ORDO::Interpreter& context, Executor& executor, ORDO::Arguments& arguments,
               PaintSlot& slot, PaintFamily family);

} // namespace ORV
