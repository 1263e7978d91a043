#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/image_size.h"
#include "ordo/executor.h"
#include "orv/drawing_state.h"
#include "raster/path.h"
#include "raster/transform.h"

namespace ORDO {
class Interpreter;
}

namespace QorRaster {
class FillRule;
}

namespace ORV {

class Canvas;

// The pattern values (pixels or coverage bytes) that the patterns of one run may hold at once:
// as many as the largest image the program makes, so that any pattern a view can show fits. At
// the limit an image-side pattern takes 256 MB, which takes about 0.1 s to clear.
inline constexpr int64_t kPatternValuesLimit = Wex::kMaxImagePixels;

// The host of an ORDO run that draws: it runs the seventeen ORV instructions on a canvas and
// keeps the graphics state. One executor serves one run; nested runs ("context", "mask") get
// executors of their own that start from a copy of this one's current state.
class Executor : public ORDO::Executor {
public:
    // Both states take their defaults, with the initial transform.
    Executor(Canvas& canvas, const QorRaster::Transform& initialTransform);
    // A nesting executor: both states are copies of the parent's current state, borrowing its
    // objects; it must not outlive the parent.
    Executor(Canvas& canvas, const Executor& parent);
    // The executor of a pattern body: as a nesting executor, but both states draw under the given
    // transform and without the parent's clip mask.
    Executor(Canvas& canvas, const Executor& parent, const QorRaster::Transform& transform);
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;

    // True for the format "orv-1" when nothing besides ORDO itself is required.
    bool CheckFormat(ORDO::Interpreter& context, const std::string& name, const std::vector<std::string>& uses,
                     const std::vector<std::string>& required) override;
    // Runs an ORV instruction; false when the name is none.
    bool Execute(ORDO::Interpreter& context, const std::string& name, std::string_view argumentText) override;
    // An ORV run is never aborted by its executor.
    bool Progress(ORDO::Interpreter& context, uint32_t statementsLeft) override;
    // ORV sources include no files.
    bool Include(ORDO::Interpreter& context, const std::string& fileName, std::string& text) override;
    // Writes the text as UTF-8 and a line end to standard output, and flushes.
    void Trace(ORDO::Interpreter& context, const std::u32string& text) override;

    // Fills and then strokes a path given in user coordinates with the current state. The path
    // is consumed: it is dashed, stroked and transformed in place. Dashes, outlines or coverage
    // beyond the raster limits throw QorRaster::LimitException, which Execute reports as "Value
    // out of range".
    void DrawPath(QorRaster::Path& path);
    // The flattening quality for curves, arcs, shapes and strokes under the current transform.
    double CurvePrecision() const;
    // The pixels per unit at which patterns are rendered under the current transform.
    int32_t PatternScale() const;

    // Runs a block in a nested context of the calling one, with a nesting executor over the
    // canvas; prepare may change that executor's current state before the block runs.
    template <typename Prepare>
    void RunNested(ORDO::Interpreter& context, Canvas& canvas, std::string_view block, Prepare&& prepare);
    // Runs a block with this executor as host, in a context nested in the calling one: the same
    // variables and statement budget.
    void RunBlock(ORDO::Interpreter& callingContext, std::string_view block);

    Canvas& GetCanvas() const { return fCanvas; }
    DrawingState& GetState() { return fState; }
    const DrawingState& GetState() const { return fState; }
    // Makes the current state a copy of the state the executor started with.
    void Reset() { fState = fResetState; }
    // The pattern values (pixels or coverage bytes) that the patterns of this run may still
    // allocate; nested executors share their parent's count.
    int64_t& PatternValuesLeft() const { return *fPatternValuesLeft; }

private:
    // Paints the coverage of an outline in device coordinates through a paint slot, after the gamma
    // table and the clip mask.
    void PaintOutline(const QorRaster::Path& outline, const QorRaster::FillRule& rule, const PaintSlot& slot,
                      const QorRaster::Rect& shapeBounds);

    Canvas& fCanvas;
    // Declared before the states, so that it outlives the patterns that they hold.
    int64_t fOwnPatternValues = kPatternValuesLimit;
    int64_t* fPatternValuesLeft;
    const DrawingState fResetState;
    DrawingState fState;
};

template <typename Prepare>
void Executor::RunNested(ORDO::Interpreter& context, Canvas& canvas, std::string_view block, Prepare&& prepare)
{
    Executor nested(canvas, *this);
    prepare(nested.fState);
    nested.RunBlock(context, block);
}

} // namespace ORV
