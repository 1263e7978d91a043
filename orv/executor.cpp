#include "orv/executor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "ordo/arguments.h"
#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "orv/canvas.h"
#include "orv/instructions.h"
#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/geometry.h"
#include "raster/polygon_mask.h"

namespace ORV {

namespace {

struct InstructionEntry {
    std::string_view name;
    Instructions::Instruction run;
};

// In the order of the instruction numbers.
constexpr InstructionEntry kInstructions[] = {
    {"rect", Instructions::Rect},       {"pen", Instructions::Pen},         {"fill", Instructions::Fill},
    {"path", Instructions::Path},       {"matrix", Instructions::Matrix},   {"scale", Instructions::Scale},
    {"rotate", Instructions::Rotate},   {"offset", Instructions::Offset},   {"shear", Instructions::Shear},
    {"context", Instructions::Context}, {"wipe", Instructions::Wipe},       {"options", Instructions::Options},
    {"reset", Instructions::Reset},     {"ellipse", Instructions::Ellipse}, {"star", Instructions::Star},
    {"mask", Instructions::Mask},       {"bounds", Instructions::Bounds},
};

// The slot of a name of 3 to 7 characters: ((c2 * 2) XOR c3) AND 31 over its third and fourth
// characters as signed bytes, the fourth being 0 for a three-letter name.
constexpr size_t InstructionSlot(std::string_view name)
{
    const int c2 = static_cast<signed char>(name[2]);
    const int c3 = name.size() > 3 ? static_cast<signed char>(name[3]) : 0;
    return static_cast<size_t>(((c2 * 2) ^ c3) & 31);
}

constexpr std::array<signed char, 32> MakeInstructionSlots()
{
    std::array<signed char, 32> slots{};
    for (auto& slot : slots)
        slot = -1;
    for (size_t i = 0; i < std::size(kInstructions); ++i) {
        signed char& slot = slots[InstructionSlot(kInstructions[i].name)];
        if (slot >= 0)
            throw "instruction slots collide";
        slot = static_cast<signed char>(i);
    }
    return slots;
}

constexpr std::array<signed char, 32> kInstructionSlots = MakeInstructionSlots();
static_assert(kInstructionSlots[0] == 3 && kInstructionSlots[1] == 11 && kInstructionSlots[17] == 13 &&
              kInstructionSlots[28] == 1 && kInstructionSlots[31] == 7);

const InstructionEntry* FindInstruction(const std::string& name)
{
    if (name.size() < 3 || name.size() > 7)
        return nullptr;
    const int index = kInstructionSlots[InstructionSlot(name)];
    if (index < 0 || name != kInstructions[index].name)
        return nullptr;
    return &kInstructions[index];
}

// The length of the longer of the two unit vectors under the transform.
double UnitLength(const QorRaster::Transform& t)
{
    return std::max(std::hypot(t.a, t.d), std::hypot(t.b, t.e));
}

bool IsFinite(const QorRaster::Path& path)
{
    return std::all_of(path.GetVertices().begin(), path.GetVertices().end(), [](const QorRaster::Path::Vertex& v) {
        return std::isfinite(v.x) && std::isfinite(v.y);
    });
}

// Appends the UTF-8 form of a code; codes that are no Unicode scalar values become U+FFFD.
void AppendUTF8(std::string& out, char32_t code)
{
    if (code >= 0x110000 || (code >= 0xD800 && code < 0xE000))
        code = 0xFFFD;
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// A copy of a state, borrowing its objects, that draws under the transform and is not clipped.
DrawingState PatternBodyState(const DrawingState& state, const QorRaster::Transform& transform)
{
    DrawingState copy = state;
    copy.transform = transform;
    copy.clipMask.Clear();
    return copy;
}

} // namespace

Executor::Executor(Canvas& canvas, const QorRaster::Transform& initialTransform)
    : fCanvas(canvas), fPatternValuesLeft(&fOwnPatternValues), fResetState(initialTransform), fState(initialTransform)
{
}

Executor::Executor(Canvas& canvas, const Executor& parent)
    : fCanvas(canvas), fPatternValuesLeft(parent.fPatternValuesLeft), fResetState(parent.fState), fState(parent.fState)
{
}

Executor::Executor(Canvas& canvas, const Executor& parent, const QorRaster::Transform& transform)
    : fCanvas(canvas), fPatternValuesLeft(parent.fPatternValuesLeft), fResetState(PatternBodyState(parent.fState, transform)),
      fState(fResetState)
{
}

bool Executor::CheckFormat(ORDO::Interpreter&, const std::string& name, const std::vector<std::string>&,
                           const std::vector<std::string>& required)
{
    return name == "orv-1" && required.empty();
}

bool Executor::Execute(ORDO::Interpreter& context, const std::string& name, std::string_view argumentText)
{
    const InstructionEntry* const instruction = FindInstruction(name);
    if (instruction == nullptr)
        return false;
    ORDO::Arguments arguments(context, argumentText);
    try {
        instruction->run(*this, context, arguments);
    } catch (const QorRaster::LimitException&) {
        // A shape, its dashes or its stroke outline would outgrow what a path may hold, or its
        // scan conversion the work it may take.
        ORDO::ThrowRunTimeError("Value out of range");
    }
    return true;
}

bool Executor::Progress(ORDO::Interpreter&, uint32_t)
{
    return true;
}

bool Executor::Include(ORDO::Interpreter&, const std::string&, std::string&)
{
    return false;
}

void Executor::Trace(ORDO::Interpreter&, const std::u32string& text)
{
    std::string line;
    line.reserve(text.size() + 1);
    for (const char32_t code : text)
        AppendUTF8(line, code);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

double Executor::CurvePrecision() const
{
    const double precision = UnitLength(fState.transform) * fState.curveQuality;
    return precision >= 0.0001 ? precision : 0.0001;
}

int32_t Executor::PatternScale() const
{
    const double scale = std::ceil(UnitLength(fState.transform) * fState.patternResolution - 0.0001);
    return scale >= 1 ? QorRaster::TruncateSaturated<int32_t>(scale) : 1;
}

void Executor::DrawPath(QorRaster::Path& path)
{
    const DrawingState& s = fState;
    const QorRaster::Rect shapeBounds = path.GetBounds();
    if (s.fill.IsPainting()) {
        QorRaster::Path outline = path;
        outline.CloseAll().Transform(s.transform);
        PaintOutline(outline, s.evenOdd ? static_cast<const QorRaster::FillRule&>(QorRaster::kEvenOddRule)
                                        : QorRaster::kNonZeroRule,
                     s.fill, shapeBounds);
    }
    if (s.pen.IsPainting() && s.penWidth > 1e-8) {
        if (s.dashOff > 1e-8) {
            const double period = s.dashOn + s.dashOff;
            path.Dash(s.dashOn, s.dashOff, std::fmod(std::fmod(s.dashOffset, period) + period, period));
        }
        path.Stroke(s.caps, s.joints, s.penWidth, s.miterLimit, CurvePrecision());
        path.Transform(s.transform);
        PaintOutline(path, QorRaster::kNonZeroRule, s.pen, shapeBounds);
    }
}

void Executor::PaintOutline(const QorRaster::Path& outline, const QorRaster::FillRule& rule, const PaintSlot& slot,
                            const QorRaster::Rect& shapeBounds)
{
    // Coordinates that overflowed or lost their meaning under the transform draw nothing.
    if (!IsFinite(outline))
        return;
    QorRaster::PolygonMask polygon(outline, fCanvas.GetBounds(), &rule);
    QorRaster::Mask* coverage = &polygon;
    std::optional<QorRaster::LookupMask> gamma;
    if (fState.gammaTable)
        coverage = &gamma.emplace(coverage, fState.gammaTable.Get());
    std::optional<QorRaster::MaskedMask> clipped;
    if (fState.clipMask)
        coverage = &clipped.emplace(coverage, fState.clipMask.Get());
    slot.paint->Fill(slot, *this, shapeBounds, *coverage);
}

void Executor::RunBlock(ORDO::Interpreter& callingContext, std::string_view block)
{
    ORDO::Interpreter nestedContext = ORDO::Interpreter::Nest(*this, callingContext);
    nestedContext.RunBlock(block);
}

} // namespace ORV
