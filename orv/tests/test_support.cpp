#include "orv/tests/test_support.h"

#include <cstdio>

#include "orv/run.h"
#include "raster/solid.h"

namespace ORV::Testing {

Failure FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ORDO::SyntaxException& e) {
        return {"Syntax: " + e.message, e.statement};
    } catch (const ORDO::RunTimeException& e) {
        return {"RunTime: " + e.message, e.statement};
    } catch (const ORDO::FormatException& e) {
        return {"Format: " + e.message, e.statement};
    } catch (const ORDO::AbortedException& e) {
        return {"Aborted: " + e.message, e.statement};
    } catch (const ORDO::Exception& e) {
        return {"Exception: " + e.message, e.statement};
    }
    return {"none", ""};
}

Drawing::Drawing(int32_t width, int32_t height, double scale)
    : image(QorRaster::IntRect(0, 0, width, height)), canvas(image),
      executor(canvas, QorRaster::Transform().ScaleUniform(scale)),
      context(executor, variables, kStatementsLimit, kRecursionLimit)
{
}

Failure Drawing::Fail(std::string_view source)
{
    return FailureOf([&] { Run(source); });
}

std::string Drawing::Row(int32_t y) const
{
    std::string row;
    const QorRaster::IntRect bounds = image.GetBounds();
    for (int32_t x = bounds.x; x < bounds.GetRight(); ++x) {
        char text[10];
        std::snprintf(text, sizeof text, "%08X", At(x, y));
        if (!row.empty())
            row += ' ';
        row += text;
    }
    return row;
}

int Drawing::CountPainted() const
{
    int count = 0;
    const QorRaster::IntRect bounds = image.GetBounds();
    for (int32_t y = bounds.y; y < bounds.GetBottom(); ++y) {
        for (int32_t x = bounds.x; x < bounds.GetRight(); ++x)
            count += At(x, y) != 0;
    }
    return count;
}

std::string Coverage(QorRaster::Mask& mask, const QorRaster::IntRect& rect)
{
    QorRaster::MaskImage image(rect);
    image.Render(mask);
    std::string text;
    for (int32_t y = rect.y; y < rect.GetBottom(); ++y) {
        if (y > rect.y)
            text += '|';
        for (int32_t x = rect.x; x < rect.GetRight(); ++x) {
            char value[4];
            std::snprintf(value, sizeof value, "%02X", *image.At(x, y));
            text += value;
        }
    }
    return text;
}

} // namespace ORV::Testing
