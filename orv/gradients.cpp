#include "orv/gradients.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "ordo/arguments.h"
#include "ordo/exceptions.h"
#include "ordo/value.h"
#include "orv/executor.h"
#include "raster/gradient.h"

namespace ORV {

namespace {

// Below this squared device length a linear gradient has no extent: the gradient mask's scale
// factor would overflow.
constexpr double kShortestSquaredLength = 1e-200;

bool IsFinite(const QorRaster::Point& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The stops of "stops: position value ...", positions ascending within 0..1.
void ReadStops(ORDO::Interpreter& context, const std::string& text, std::vector<Gradient::Stop>& stops)
{
    std::vector<std::string> elements;
    ORDO::SplitList(context, text, elements, true, false, 2, std::numeric_limits<size_t>::max());
    if (elements.size() % 2 != 0)
        ORDO::ThrowSyntaxError("Invalid stops for gradient");
    stops.reserve(elements.size() / 2);
    double previous = 0.0;
    for (size_t i = 0; i < elements.size(); i += 2) {
        const double position = ORDO::ToNumber(elements[i]);
        if (!(previous <= position && position <= 1.0))
            ORDO::ThrowSyntaxError("Invalid stops for gradient");
        previous = position;
        stops.push_back({position, std::move(elements[i + 1])});
    }
}

template <typename Value>
std::unique_ptr<Paint> MakeSidePaint(ORDO::Interpreter& context, const Gradient& gradient)
{
    std::vector<QorRaster::Stop<Value>> stops;
    stops.reserve(gradient.stops.size());
    for (const Gradient::Stop& stop : gradient.stops)
        stops.push_back({stop.position, PaintSide<Value>::Read(context, stop.value)});
    if (gradient.kind == Gradient::kLinear)
        return std::make_unique<LinearGradient<Value>>(stops, gradient.first, gradient.second);
    return std::make_unique<RadialGradient<Value>>(stops, gradient.first, gradient.second);
}

} // namespace

Gradient ParseGradient(ORDO::Interpreter& context, std::string_view text, bool reverseRadial)
{
    ORDO::Arguments arguments(context, text);
    Gradient gradient;
    const std::string type = ORDO::ToLower(arguments.GetPositional(0, true));
    if (type == "radial")
        gradient.kind = Gradient::kRadial;
    else if (type != "linear")
        ORDO::ThrowSyntaxError("Unrecognized gradient type");
    const bool reverse = reverseRadial && gradient.kind == Gradient::kRadial;

    std::array<double, 4> numbers{};
    const size_t count =
        ParseNumbers(context, arguments.GetPositional(1, true), numbers, gradient.kind == Gradient::kRadial ? 3 : 4);
    if (count == 3)
        numbers[3] = numbers[2];
    gradient.first = QorRaster::Point(numbers[0], numbers[1]);
    gradient.second = QorRaster::Point(numbers[2], numbers[3]);

    std::vector<Gradient::Stop>& stops = gradient.stops;
    if (const std::string* const written = arguments.FindLabelled("stops", true)) {
        ReadStops(context, *written, stops);
        if (reverse) {
            for (Gradient::Stop& stop : stops)
                stop.position = 1.0 - stop.position;
            std::reverse(stops.begin(), stops.end());
        }
    } else {
        std::string from = arguments.GetLabelled("from", true);
        std::string to = arguments.GetLabelled("to", true);
        if (reverse)
            std::swap(from, to);
        stops.push_back({0.0, std::move(from)});
        stops.push_back({1.0, std::move(to)});
    }
    arguments.CheckAllUsed();
    return gradient;
}

std::unique_ptr<Paint> MakeGradientPaint(ORDO::Interpreter& context, const Gradient& gradient, PaintFamily family)
{
    if (family == PaintFamily::kImage)
        return MakeSidePaint<QorRaster::Pixel>(context, gradient);
    return MakeSidePaint<QorRaster::Coverage>(context, gradient);
}

template <typename Value>
GradientPaint<Value>::GradientPaint(std::span<const QorRaster::Stop<Value>> stops, const QorRaster::Point& first,
                                    const QorRaster::Point& second)
    : fVisible(std::any_of(stops.begin(), stops.end(), [](const QorRaster::Stop<Value>& s) { return s.value != 0; })),
      fFirst(first), fSecond(second)
{
    fTable.Build(stops);
}

template <typename Value>
bool GradientPaint<Value>::IsVisible(const PaintSlot&) const
{
    return fVisible;
}

template <typename Value>
QorRaster::Transform GradientPaint<Value>::Place(const PaintSlot& slot, const Executor& executor,
                                                 const QorRaster::Rect& bounds)
{
    const QorRaster::Transform unitSquareOnShape =
        QorRaster::Transform().Scale(bounds.width, bounds.height).Translate(bounds.x, bounds.y);
    return PlacePaint(slot, unitSquareOnShape, executor.GetState().transform);
}

template <typename Value>
void GradientPaint<Value>::FillPositions(const PaintSlot& slot, Executor& executor, QorRaster::Mask& positions,
                                         QorRaster::Mask& coverage) const
{
    typename Side::TableSource values(&positions, &fTable);
    const OpacityMask effective(slot, coverage);
    typename Side::Masked masked(&values, &effective.Get());
    Side::Draw(executor.GetCanvas(), masked);
}

template <typename Value>
void GradientPaint<Value>::FillEntry(const PaintSlot& slot, Executor& executor, uint8_t entry,
                                     QorRaster::Mask& coverage) const
{
    FillSolid(slot, executor.GetCanvas(), fTable.fEntries[entry], coverage);
}

// The gradient runs from P0, the placed from point, to E, the foot of the placed to point on the
// line through P0 across the placed lines of constant value. A gradient without length on the
// device (coinciding points, a singular placement) shows its last stop everywhere.
template <typename Value>
void LinearGradient<Value>::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
                                 QorRaster::Mask& coverage) const
{
    const QorRaster::Point& f = this->fFirst;
    const QorRaster::Point& to = this->fSecond;
    const QorRaster::Transform m = this->Place(slot, executor, bounds);
    const QorRaster::Point p0 = m.Apply(f);
    const QorRaster::Point p1 = m.Apply(to);
    // The from point moved a quarter turn off the gradient's direction: constant value.
    const QorRaster::Point q = m.Apply(QorRaster::Point(f.x + (f.y - to.y), f.y + (to.x - f.x)));
    const double dx = q.x - p0.x;
    const double dy = q.y - p0.y;
    // The distance is taken unsigned: the end point always lies on the (dy, -dx) side of P0, also
    // under a mirroring placement, as stored graphics expect.
    const double t = std::fabs((p0.x - p1.x) * dy + (p1.y - p0.y) * dx) / (dx * dx + dy * dy);
    const QorRaster::Point end(p0.x + t * dy, p0.y - t * dx);
    const double length2 = (end.x - p0.x) * (end.x - p0.x) + (end.y - p0.y) * (end.y - p0.y);
    if (!IsFinite(p0) || !IsFinite(end) || !(length2 >= kShortestSquaredLength)) {
        this->FillEntry(slot, executor, 255, coverage);
        return;
    }
    QorRaster::LinearMask positions(p0.x, p0.y, end.x, end.y);
    this->FillPositions(slot, executor, positions, coverage);
}

// The radii are the device lengths of the placed radius vectors: a rotation or shear of the
// placement changes their lengths, never the axes of the ellipse. Without extent (a radius of 0
// or not a number, or a centre off every finite position) the gradient shows its outer value
// everywhere; an infinite radius is a gradient too wide to change across the canvas.
template <typename Value>
void RadialGradient<Value>::Fill(const PaintSlot& slot, Executor& executor, const QorRaster::Rect& bounds,
                                 QorRaster::Mask& coverage) const
{
    const QorRaster::Point& c = this->fFirst;
    const QorRaster::Point& r = this->fSecond;
    const QorRaster::Transform m = this->Place(slot, executor, bounds);
    const QorRaster::Point centre = m.Apply(c);
    const QorRaster::Point a = m.Apply(QorRaster::Point(c.x + r.x, c.y));
    const QorRaster::Point b = m.Apply(QorRaster::Point(c.x, c.y + r.y));
    const double rx = std::hypot(a.x - centre.x, a.y - centre.y);
    const double ry = std::hypot(b.x - centre.x, b.y - centre.y);
    if (!IsFinite(centre) || !(rx > 0 && ry > 0)) {
        this->FillEntry(slot, executor, 0, coverage);
        return;
    }
    QorRaster::RadialMask positions(centre.x, centre.y, rx, ry);
    this->FillPositions(slot, executor, positions, coverage);
}

template class GradientPaint<QorRaster::Pixel>;
template class GradientPaint<QorRaster::Coverage>;
template class LinearGradient<QorRaster::Pixel>;
template class LinearGradient<QorRaster::Coverage>;
template class RadialGradient<QorRaster::Pixel>;
template class RadialGradient<QorRaster::Coverage>;

} // namespace ORV
