#include "orv/instructions.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ordo/arguments.h"
#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "ordo/value.h"
#include "orv/canvas.h"
#include "orv/executor.h"
#include "orv/path_data.h"
#include "orv/plain_paints.h"
#include "orv/transforms.h"
#include "orv/values.h"
#include "raster/path.h"
#include "raster/solid.h"

namespace ORV::Instructions {

namespace {

// Reads a list of exactly N numbers.
template <size_t N>
std::array<double, N> ReadNumbers(ORDO::Interpreter& context, std::string_view text)
{
    std::array<double, N> values{};
    ParseNumbers(context, text, values, N);
    return values;
}

// Reads an option value: a number from 0.0001 to 99.9999 inclusive. The limits are the numbers
// that those texts read as, so that both may be written as limits.
double ReadOption(const std::string& text)
{
    static const double kMinimum = ORDO::ToNumber("0.0001");
    static const double kMaximum = ORDO::ToNumber("99.9999");
    const double value = ORDO::ToNumber(text);
    if (!(value >= kMinimum && value <= kMaximum))
        ORDO::ThrowRunTimeError("Value out of range");
    return value;
}

void ApplyTransformWord(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments, TransformWord word)
{
    const TransformNumbers numbers = ReadTransformNumbers(context, word, arguments.GetPositional(0, true));
    arguments.CheckAllUsed();
    QorRaster::Transform& transform = executor.GetState().transform;
    transform = QorRaster::Transform::Multiply(MakeTransform(word, numbers), transform);
}

// Maps a lower-cased keyword to its index in names, or throws message.
template <size_t N>
int ReadKeyword(const std::string& text, const std::array<std::string_view, N>& names, const char* message)
{
    const std::string lower = ORDO::ToLower(text);
    for (size_t i = 0; i < N; ++i) {
        if (lower == names[i])
            return static_cast<int>(i);
    }
    ORDO::ThrowSyntaxError(message);
}

} // namespace

void Rect(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    const std::array<double, 4> r = ReadNumbers<4>(context, arguments.GetPositional(0, true));
    const std::string* const rounded = arguments.FindLabelled("rounded", true);
    arguments.CheckAllUsed();
    QorRaster::Path path;
    if (rounded == nullptr) {
        path.AddRect(r[0], r[1], r[2], r[3]);
    } else {
        std::array<double, 2> radii{};
        if (ParseNumbers(context, *rounded, radii, 1) == 1)
            radii[1] = radii[0];
        path.AddRoundedRect(r[0], r[1], r[2], r[3], radii[0], radii[1], executor.CurvePrecision());
    }
    executor.DrawPath(path);
}

void Ellipse(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    std::array<double, 4> e{};
    const size_t count = ParseNumbers(context, arguments.GetPositional(0, true), e, 3);
    arguments.CheckAllUsed();
    QorRaster::Path path;
    if (count == 3)
        path.AddCircle(e[0], e[1], e[2], executor.CurvePrecision());
    else
        path.AddEllipse(e[0], e[1], e[2], e[3], executor.CurvePrecision());
    executor.DrawPath(path);
}

void Star(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    std::vector<std::string> elements;
    ORDO::SplitList(context, arguments.GetPositional(0, true), elements, true, false, 4, 5);
    const std::string* const rotationText = arguments.FindLabelled("rotation", true);
    arguments.CheckAllUsed();
    const double rotation = rotationText != nullptr ? ORDO::ToNumber(*rotationText) : 0.0;
    const double cx = ORDO::ToNumber(elements[0]);
    const double cy = ORDO::ToNumber(elements[1]);
    const int32_t count = ORDO::ToInteger(elements[2]);
    const double radius1 = ORDO::ToNumber(elements[3]);
    const double radius2 = elements.size() == 5 ? ORDO::ToNumber(elements[4]) : radius1;
    // A negative count has no polygon.
    if (count < 0)
        return;
    QorRaster::Path path;
    path.AddStar(count, cx, cy, radius1, radius2, rotation * kRadiansPerDegree);
    executor.DrawPath(path);
}

void Path(Executor& executor, ORDO::Interpreter&, ORDO::Arguments& arguments)
{
    const std::string* const data = arguments.FindLabelled("svg", true);
    if (data == nullptr) {
        arguments.CheckAllUsed();
        ORDO::ThrowSyntaxError("Invalid PATH arguments");
    }
    QorRaster::Path path;
    ParsePathData(*data, executor.CurvePrecision(), path);
    arguments.CheckAllUsed();
    executor.DrawPath(path);
}

void Fill(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    DrawingState& state = executor.GetState();
    executor.GetCanvas().CreatePaint(context, executor, arguments, state.fill);
    if (const std::string* const rule = arguments.FindLabelled("rule", true)) {
        static constexpr std::array<std::string_view, 2> kRules = {"non-zero", "even-odd"};
        state.evenOdd = ReadKeyword(*rule, kRules, "Unrecognized fill rule") == 1;
    }
    arguments.CheckAnyUsed();
    arguments.CheckAllUsed();
}

void Pen(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    DrawingState& state = executor.GetState();
    if (const std::string* const width = arguments.FindLabelled("width", true)) {
        const double value = ORDO::ToNumber(*width);
        if (value < 0)
            ORDO::ThrowRunTimeError("Negative stroke width");
        state.penWidth = value;
    }
    if (const std::string* const caps = arguments.FindLabelled("caps", true)) {
        static constexpr std::array<std::string_view, 3> kCaps = {"butt", "round", "square"};
        state.caps = static_cast<QorRaster::CapStyle>(ReadKeyword(*caps, kCaps, "Unrecognized stroke caps"));
    }
    if (const std::string* const joints = arguments.FindLabelled("joints", true)) {
        static constexpr std::array<std::string_view, 3> kJoints = {"bevel", "curve", "miter"};
        state.joints = static_cast<QorRaster::JointStyle>(ReadKeyword(*joints, kJoints, "Unrecognized stroke joints"));
    }
    if (const std::string* const limit = arguments.FindLabelled("miter-limit", true)) {
        const double value = ORDO::ToNumber(*limit);
        if (!(value >= 1.0))
            ORDO::ThrowRunTimeError("Value out of range");
        state.miterLimit = value;
    }
    if (const std::string* const dash = arguments.FindLabelled("dash", true)) {
        std::array<double, 2> lengths{};
        if (ORDO::ToLower(*dash) != "none" && ParseNumbers(context, *dash, lengths, 1) == 1)
            lengths[1] = lengths[0];
        if (lengths[0] < 0 || lengths[1] < 0)
            ORDO::ThrowRunTimeError("Value out of range");
        state.dashOn = lengths[0];
        state.dashOff = lengths[1];
    }
    if (const std::string* const offset = arguments.FindLabelled("dash-offset", true))
        state.dashOffset = ORDO::ToNumber(*offset);
    executor.GetCanvas().CreatePaint(context, executor, arguments, state.pen);
    arguments.CheckAnyUsed();
    arguments.CheckAllUsed();
}

void Wipe(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    PaintSlot slot;
    executor.GetCanvas().CreatePaint(context, executor, arguments, slot);
    arguments.CheckAnyUsed();
    arguments.CheckAllUsed();
    if (slot.relative)
        ORDO::ThrowRunTimeError("Relative paint is not allowed with wipe");
    if (!slot.IsPainting())
        return;
    QorRaster::SolidMask everywhere(255);
    QorRaster::Mask* const clip = executor.GetState().clipMask.Get();
    slot.paint->Fill(slot, executor, QorRaster::Rect(), clip != nullptr ? *clip : everywhere);
}

void Matrix(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    ApplyTransformWord(executor, context, arguments, TransformWord::kMatrix);
}

void Scale(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    ApplyTransformWord(executor, context, arguments, TransformWord::kScale);
}

void Rotate(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    ApplyTransformWord(executor, context, arguments, TransformWord::kRotate);
}

void Offset(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    ApplyTransformWord(executor, context, arguments, TransformWord::kOffset);
}

void Shear(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    ApplyTransformWord(executor, context, arguments, TransformWord::kShear);
}

void Context(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    const std::string& block = arguments.GetPositional(0, false);
    arguments.CheckAllUsed();
    executor.RunNested(context, executor.GetCanvas(), block, [](DrawingState&) {});
}

void Mask(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    const std::string& block = arguments.GetPositional(0, false);
    const std::string* const inverted = arguments.FindLabelled("inverted", true);
    const bool invert = inverted != nullptr && ORDO::ToBoolean(*inverted);
    arguments.CheckAllUsed();
    MaskCanvas canvas(executor.GetCanvas().GetBounds());
    executor.RunNested(context, canvas, block, [](DrawingState& state) {
        // Shapes drawn in the block add full coverage; nothing is stroked until a pen is given.
        state.evenOdd = false;
        state.fill = PaintSlot();
        state.fill.paint.Own(std::make_unique<CoveragePaint>(255));
        state.pen = PaintSlot();
        state.penWidth = 1;
        state.caps = QorRaster::CapStyle::kButt;
        state.joints = QorRaster::JointStyle::kMiter;
        state.miterLimit = 2;
        state.dashOn = state.dashOff = state.dashOffset = 0;
    });
    executor.GetState().clipMask.Own(canvas.TakeMask(invert));
}

void Bounds(Executor& executor, ORDO::Interpreter& context, ORDO::Arguments& arguments)
{
    std::vector<std::string> elements;
    ORDO::SplitList(context, arguments.GetPositional(0, true), elements, true, false, 4, 4);
    arguments.CheckAllUsed();
    executor.GetCanvas().DeclareBounds(QorRaster::IntRect(ORDO::ToInteger(elements[0]), ORDO::ToInteger(elements[1]),
                                                          ORDO::ToInteger(elements[2]), ORDO::ToInteger(elements[3])));
}

void Options(Executor& executor, ORDO::Interpreter&, ORDO::Arguments& arguments)
{
    DrawingState& state = executor.GetState();
    if (const std::string* const gamma = arguments.FindLabelled("aa-gamma", true))
        state.SetGamma(ReadOption(*gamma));
    if (const std::string* const quality = arguments.FindLabelled("curve-quality", true))
        state.curveQuality = ReadOption(*quality);
    if (const std::string* const resolution = arguments.FindLabelled("pattern-resolution", true))
        state.patternResolution = ReadOption(*resolution);
    arguments.CheckAnyUsed();
    arguments.CheckAllUsed();
}

void Reset(Executor& executor, ORDO::Interpreter&, ORDO::Arguments& arguments)
{
    arguments.CheckAllUsed();
    executor.Reset();
}

} // namespace ORV::Instructions
