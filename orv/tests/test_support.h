#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeinfo>

#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "ordo/variables.h"
#include "orv/canvas.h"
#include "orv/executor.h"
#include "raster/image.h"

namespace ORV::Testing {

// What an ORDO exception carried, for comparison in tests: "<Class>: <message>".
struct Failure {
    std::string text;
    std::string statement;
};

// Runs action and describes the ORDO exception it throws; text is "none" when it throws nothing.
Failure FailureOf(const std::function<void()>& action);

// An ORV run over a transparent image, as the editor draws: image canvas, executor with a
// uniform initial scale, root context with the editor's limits.
class Drawing {
public:
    Drawing(int32_t width, int32_t height, double scale = 1.0);

    // Runs the source as one block in the root context.
    void Run(std::string_view source) { context.RunBlock(source); }
    // Runs the source and describes its error.
    Failure Fail(std::string_view source);

    QorRaster::Pixel At(int32_t x, int32_t y) const { return *image.At(x, y); }
    // The pixels of one row, written "AARRGGBB" and separated by blanks.
    std::string Row(int32_t y) const;
    // Number of pixels that are not transparent.
    int CountPainted() const;

    QorRaster::Image image;
    ImageCanvas canvas;
    Executor executor;
    ORDO::Variables variables;
    ORDO::Interpreter context;
};

// The coverage of every pixel of a mask over a rectangle, rows separated by '|', each value in hex.
std::string Coverage(QorRaster::Mask& mask, const QorRaster::IntRect& rect);

} // namespace ORV::Testing
