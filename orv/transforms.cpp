#include "orv/transforms.h"

#include <optional>
#include <span>

#include "ordo/arguments.h"
#include "ordo/exceptions.h"
#include "ordo/interpreter.h"
#include "orv/values.h"

namespace ORV {

namespace {

struct WordCounts {
    size_t minimum;
    size_t maximum;
};

constexpr WordCounts Counts(TransformWord word)
{
    switch (word) {
    case TransformWord::kMatrix:
        return {6, 6};
    case TransformWord::kScale:
        return {1, 2};
    case TransformWord::kRotate:
        return {1, 3};
    case TransformWord::kOffset:
    case TransformWord::kShear:
        return {2, 2};
    }
    return {0, 0};
}

// A word's name is 5 or 6 characters long; the low three bits of its second character pick the
// one candidate, which must then match whole.
std::optional<TransformWord> FindWord(const std::string& name)
{
    if (name.size() != 5 && name.size() != 6)
        return std::nullopt;
    struct Candidate {
        std::string_view name;
        TransformWord word;
    };
    static constexpr std::optional<Candidate> kCandidates[8] = {
        Candidate{"shear", TransformWord::kShear},   Candidate{"matrix", TransformWord::kMatrix},
        std::nullopt,                                Candidate{"scale", TransformWord::kScale},
        std::nullopt,                                std::nullopt,
        Candidate{"offset", TransformWord::kOffset}, Candidate{"rotate", TransformWord::kRotate},
    };
    const std::optional<Candidate>& candidate = kCandidates[name[1] & 7];
    if (!candidate || candidate->name != name)
        return std::nullopt;
    return candidate->word;
}

} // namespace

TransformNumbers ReadTransformNumbers(ORDO::Interpreter& context, TransformWord word, std::string_view text)
{
    const WordCounts counts = Counts(word);
    TransformNumbers numbers;
    numbers.count = ParseNumbers(context, text, std::span(numbers.values).first(counts.maximum), counts.minimum);
    return numbers;
}

QorRaster::Transform MakeTransform(TransformWord word, const TransformNumbers& numbers)
{
    const std::array<double, 6>& v = numbers.values;
    const QorRaster::Transform identity;
    QorRaster::Transform t;
    switch (word) {
    case TransformWord::kMatrix:
        t.Set(v[0], v[2], v[4], v[1], v[3], v[5]);
        break;
    case TransformWord::kScale:
        t = numbers.count == 1 ? identity.ScaleUniform(v[0]) : identity.Scale(v[0], v[1]);
        break;
    case TransformWord::kRotate:
        if (numbers.count == 2)
            ORDO::ThrowSyntaxError("Invalid transform");
        t = numbers.count == 1 ? identity.Rotate(v[0] * kRadiansPerDegree)
                               : identity.RotateAround(v[0] * kRadiansPerDegree, v[1], v[2]);
        break;
    case TransformWord::kOffset:
        t = identity.Translate(v[0], v[1]);
        break;
    case TransformWord::kShear:
        t = identity.Shear(v[0], v[1]);
        break;
    }
    return t;
}

QorRaster::Transform ParseTransform(ORDO::Interpreter& context, std::string_view text)
{
    TransformExecutor executor(*context.executor);
    ORDO::Interpreter nested = ORDO::Interpreter::Nest(executor, context);
    nested.RunBlock(text);
    return executor.GetTransform();
}

bool TransformExecutor::CheckFormat(ORDO::Interpreter&, const std::string&, const std::vector<std::string>&,
                                    const std::vector<std::string>&)
{
    return false;
}

bool TransformExecutor::Execute(ORDO::Interpreter& context, const std::string& name, std::string_view argumentText)
{
    ORDO::Arguments arguments(context, argumentText);
    // The argument is required of every statement, before its name is looked at; arguments
    // beyond it are ignored.
    const std::string& text = arguments.GetPositional(0, true);
    const std::optional<TransformWord> word = FindWord(name);
    if (!word)
        return false;
    const QorRaster::Transform w = MakeTransform(*word, ReadTransformNumbers(context, *word, text));
    fTransform = QorRaster::Transform::Multiply(w, fTransform);
    return true;
}

bool TransformExecutor::Progress(ORDO::Interpreter& context, uint32_t statementsLeft)
{
    return fParent.Progress(context, statementsLeft);
}

bool TransformExecutor::Include(ORDO::Interpreter& context, const std::string& fileName, std::string& text)
{
    return fParent.Include(context, fileName, text);
}

void TransformExecutor::Trace(ORDO::Interpreter& context, const std::u32string& text)
{
    fParent.Trace(context, text);
}

} // namespace ORV
