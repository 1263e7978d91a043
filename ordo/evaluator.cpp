#include "ordo/evaluator.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <vector>

#include "ordo/charset.h"
#include "ordo/limits.h"
#include "ordo/scanner.h"
#include "ordo/slot_table.h"

namespace ORDO {

namespace {

// The characters at which a primary can be read (besides the unary operators, which are
// taken as operators after a value).
constexpr CharSet kOperandStarts("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.$([\\");

// The highest level at which the routine chosen by a character can apply: -1 for characters
// that neither start an operator nor an operand, which therefore end every expression.
constexpr std::array<signed char, 256> kHighestLevels = [] {
    std::array<signed char, 256> levels{};
    for (int c = 0; c < 256; ++c)
        levels[size_t(c)] = kOperandStarts.Has(char(c)) ? 9 : -1;
    for (const char c : {'!', '<', '=', '>'})
        levels[static_cast<unsigned char>(c)] = 2;
    levels['%'] = 6;
    levels['&'] = levels['|'] = 1;
    levels['*'] = 7;
    levels['+'] = levels['-'] = 3;
    levels['/'] = 4;
    levels['?'] = 0;
    return levels;
}();

bool IsExpressionWordCharacter(char c)
{
    return IsLetter(c) || IsDigit(c) || c == '_' || c == '.';
}

struct MathFunction {
    const char* name;
    double (*apply)(double);
};

constexpr MathFunction kMathFunctions[] = {
    {"abs", [](double x) { return std::fabs(x); }},     {"acos", [](double x) { return std::acos(x); }},
    {"asin", [](double x) { return std::asin(x); }},    {"atan", [](double x) { return std::atan(x); }},
    {"ceil", [](double x) { return std::ceil(x); }},    {"cos", [](double x) { return std::cos(x); }},
    {"cosh", [](double x) { return std::cosh(x); }},    {"exp", [](double x) { return std::exp(x); }},
    {"floor", [](double x) { return std::floor(x); }},  {"log", [](double x) { return std::log(x); }},
    {"log10", [](double x) { return std::log10(x); }},  {"sin", [](double x) { return std::sin(x); }},
    {"sinh", [](double x) { return std::sinh(x); }},    {"sqrt", [](double x) { return std::sqrt(x); }},
    {"tan", [](double x) { return std::tan(x); }},      {"tanh", [](double x) { return std::tanh(x); }},
};

// The slot of a word of 3 to 5 characters: ((second - first) xor fourth) modulo 32, the
// fourth being 0 for a three-letter word.
constexpr size_t MathSlot(const char* word, size_t length)
{
    const int fourth = length > 3 ? word[3] : 0;
    return size_t(((word[1] - word[0]) ^ fourth) & 31);
}

constexpr SlotTable kMathTable(kMathFunctions, MathSlot);

const MathFunction* FindMathFunction(const char* word, size_t length)
{
    return (length >= 3 && length <= 5) ? kMathTable.Find(std::string_view(word, length)) : nullptr;
}

// Applies a C library function and turns its error indication into "Math error".
template <typename Function>
double CheckedMath(Function function)
{
    errno = 0;
    const double result = function();
    if (errno != 0)
        ThrowRunTimeError("Math error");
    return result;
}

// -1, 0 or 1 as a compares to b in their numeric views, texts after numbers.
int Compare(const Value& a, const Value& b)
{
    double x, y;
    const bool xNumeric = a.GetNumeric(x);
    const bool yNumeric = b.GetNumeric(y);
    if (xNumeric && yNumeric) {
        // Equal within a relative tolerance; infinities (from overflow) only to themselves.
        const double difference = x - y;
        if (x == y || (std::isfinite(difference) &&
                       std::fabs(difference) <= 1e-13 * std::fmin(std::fabs(x), std::fabs(y))))
            return 0;
        return difference < 0 ? -1 : 1;
    }
    if (xNumeric != yNumeric)
        return xNumeric ? -1 : 1;
    const int order = a.ToText().compare(b.ToText());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// Reads one expression straight from the text: one routine per operator, each either applying
// at the current level or leaving its operator to an outer level.
class ExpressionReader {
public:
    ExpressionReader(Interpreter& context, const char* end) : fContext(context), fEnd(end) {}

    const char* Evaluate(const char* start, Value& value, int level)
    {
        DepthGuard depth(fDepth);
        const char* p = Primary(start, value);
        if (p == start)
            return start;
        for (;;) {
            const char* const q = SkipBlank(p, fEnd);
            if (q == fEnd || level > kHighestLevels[static_cast<unsigned char>(*q)])
                return p;
            const char* next;
            switch (*q) {
            case '!':
            case '<':
            case '=':
            case '>':
                next = Comparison(q, value, level);
                break;
            case '%':
                next = PercentOrModulo(q, value, level);
                break;
            case '&':
            case '|':
                next = Logical(q, value, level);
                break;
            case '*':
                next = (q + 1 < fEnd && q[1] == '*') ? Arithmetic(q, value, level, '^', 7) : Arithmetic(q, value, level, '*', 4);
                break;
            case '+':
            case '-':
                next = Arithmetic(q, value, level, *q, 3);
                break;
            case '/':
                next = Arithmetic(q, value, level, '/', 4);
                break;
            case '?':
                next = Conditional(q, value, level);
                break;
            default:
                next = Juxtaposition(q, value, level);
                break;
            }
            if (next == nullptr)
                return p;
            p = next;
        }
    }

private:
    class DepthGuard {
    public:
        explicit DepthGuard(int& depth) : fDepth(depth)
        {
            if (fDepth >= kMaxExpressionDepth)
                ThrowRunTimeError("Recursion limit reached");
            ++fDepth;
        }
        ~DepthGuard() { --fDepth; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        int& fDepth;
    };

    // An operand that must be there: "Syntax error" when nothing can be read.
    const char* Operand(const char* start, Value& value, int level)
    {
        const char* const next = Evaluate(start, value, level);
        if (next == start)
            ThrowSyntaxError("Syntax error");
        return next;
    }

    const char* Primary(const char* start, Value& value)
    {
        const char* const p = SkipBlank(start, fEnd);
        if (p == fEnd)
            ThrowSyntaxError("Unexpected end");
        switch (*p) {
        case '!': {
            const char* const next = Operand(p + 1, value, 6);
            value.SetBoolean(!value.ToBoolean());
            return next;
        }
        case '+':
        case '-': {
            const char* const next = Operand(p + 1, value, 6);
            const double number = value.ToNumber();
            value.SetNumber(*p == '-' ? -number : number);
            return next;
        }
        case '$':
            return Variable(p, value);
        case '(': {
            const char* const next = SkipBlank(Evaluate(p + 1, value, 0), fEnd);
            if (next == fEnd || *next != ')')
                ThrowSyntaxError("Syntax error");
            return next + 1;
        }
        case '[': {
            const char* const next = SkipBrackets(p, fEnd);
            value.SetText(std::string_view(p + 1, size_t(next - p - 2)));
            return next;
        }
        case '\\': {
            if (p + 1 == fEnd)
                break;
            uint32_t code;
            const char* const next = DecodeEscape(p + 1, fEnd, code);
            if (code > 255)
                ThrowSyntaxError("Invalid character escape code inside { } expression");
            const char character = static_cast<char>(code);
            value.SetText(std::string_view(&character, 1));
            return next;
        }
        default:
            if (IsDigit(*p) || *p == '.') {
                double number;
                const char* const next = ParseNumber(p, fEnd, number);
                if (next != p) {
                    value.SetNumber(number);
                    return next;
                }
            }
            return Word(start, p, value);
        }
        value = Value();
        return start;
    }

    // Turns a value into its text form in place.
    void MakeText(Value& value)
    {
        if (value.kind == Value::Kind::kText)
            return;
        fScratch.clear();
        value.AppendText(fScratch);
        value.kind = Value::Kind::kText;
        value.number = 0.0;
        value.text.swap(fScratch);
    }

    const char* Variable(const char* p, Value& value)
    {
        // A name that starts with a letter or '_' and that nothing joins is looked up as it
        // stands; anything else is read as an operand at level 9 and its text is the name.
        const char* const nameEnd = SimpleName(p + 1);
        if (nameEnd != nullptr) {
            if (!fContext.GetVariable(std::string_view(p + 1, size_t(nameEnd - p - 1)), value.text))
                ThrowRunTimeError("Variable does not exist");
            value.kind = Value::Kind::kText;
            value.number = 0.0;
            return nameEnd;
        }
        const char* const next = Operand(p + 1, value, 9);
        MakeText(value);
        if (!fContext.GetVariable(value.text, fScratch))
            ThrowRunTimeError("Variable does not exist");
        value.text.swap(fScratch);
        return next;
    }

    // The end of a word at p that an operand at level 9 would read as the word's own text, or
    // null: a word that starts with a letter or '_' and names no math function, or a whole
    // number written as the number formatting writes it, and no operand follows to join it.
    const char* SimpleName(const char* p) const
    {
        if (p == fEnd || !IsExpressionWordCharacter(*p))
            return nullptr;
        const char* end = p + 1;
        while (end < fEnd && IsExpressionWordCharacter(*end))
            ++end;
        const size_t length = size_t(end - p);
        if (IsNameStart(*p)) {
            if (FindMathFunction(p, length) != nullptr)
                return nullptr;
        } else if (length > 9 || (*p == '0' && length > 1) || !std::all_of(p, end, IsDigit)) {
            return nullptr;
        }
        const char* const next = SkipBlank(end, fEnd);
        return (next < fEnd && kOperandStarts.Has(*next)) ? nullptr : end;
    }

    const char* Word(const char* start, const char* p, Value& value)
    {
        const char* next = p;
        while (next < fEnd && IsExpressionWordCharacter(*next))
            ++next;
        if (next == p) {
            value = Value();
            return start;
        }
        const MathFunction* const function = FindMathFunction(p, size_t(next - p));
        if (function == nullptr) {
            value.SetText(std::string_view(p, size_t(next - p)));
            return next;
        }
        next = Operand(next, value, 11);
        const double argument = value.ToNumber();
        value.SetNumber(CheckedMath([&] { return function->apply(argument); }));
        return next;
    }

    const char* Conditional(const char* p, Value& value, int level)
    {
        if (level > 0)
            return nullptr;
        Value first, second;
        const char* next = SkipBlank(Evaluate(p + 1, first, 1), fEnd);
        if (next == fEnd || *next != ':')
            ThrowSyntaxError("Expected :");
        next = Evaluate(next + 1, second, 1);
        value = std::move(value.ToBoolean() ? first : second);
        return next;
    }

    const char* Logical(const char* p, Value& value, int level)
    {
        if (level > 1 || p + 1 == fEnd || p[1] != p[0])
            return nullptr;
        const bool left = value.ToBoolean();
        Value right;
        const char* const next = Operand(p + 2, right, 2);
        const bool other = right.ToBoolean();
        value.SetBoolean(*p == '&' ? (left && other) : (left || other));
        return next;
    }

    const char* Comparison(const char* p, Value& value, int level)
    {
        if (level > 2)
            return nullptr;
        const char op = *p;
        const bool equalsFollows = p + 1 < fEnd && p[1] == '=';
        if ((op == '=' || op == '!') && !equalsFollows)
            ThrowSyntaxError("Syntax error");
        Value right;
        const char* const next = Operand(p + (equalsFollows ? 2 : 1), right, 3);
        const int order = Compare(value, right);
        bool result;
        switch (op) {
        case '=':
            result = order == 0;
            break;
        case '!':
            result = order != 0;
            break;
        case '<':
            result = equalsFollows ? order <= 0 : order < 0;
            break;
        default:
            result = equalsFollows ? order >= 0 : order > 0;
            break;
        }
        value.SetBoolean(result);
        return next;
    }

    // op is '+', '-', '*', '/' or '^' (power, written "**"), applying up to maxLevel.
    const char* Arithmetic(const char* p, Value& value, int level, char op, int maxLevel)
    {
        if (level > maxLevel)
            return nullptr;
        const double left = value.ToNumber();
        Value right;
        const char* const next = Operand(p + (op == '^' ? 2 : 1), right, maxLevel + 1);
        const double other = right.ToNumber();
        double result;
        switch (op) {
        case '+':
            result = left + other;
            break;
        case '-':
            result = left - other;
            break;
        case '*':
            result = left * other;
            break;
        case '/':
            if (other == 0)
                ThrowRunTimeError("Division by zero");
            result = left / other;
            break;
        default:
            result = CheckedMath([&] { return std::pow(left, other); });
            break;
        }
        value.SetNumber(result);
        return next;
    }

    const char* PercentOrModulo(const char* p, Value& value, int level)
    {
        if (level > 6)
            return nullptr;
        const char* const start = p + 1;
        if (fLeftOperands.empty() || fLeftOperands.back().start != start || fLeftOperands.back().depth < fDepth) {
            // At the end of the text there is no operand to try.
            Value right;
            const char* const next = SkipBlank(start, fEnd) == fEnd ? start : Evaluate(start, right, 5);
            if (next == start) {
                value.SetNumber(std::fabs(value.ToNumber()) * 0.01);
                return start;
            }
            fLeftOperands.push_back({start, fDepth, std::move(right), next});
        }
        if (level > 4)
            return nullptr;
        const LeftOperand operand = std::move(fLeftOperands.back());
        fLeftOperands.pop_back();
        const double divisor = operand.value.ToNumber();
        if (divisor == 0)
            ThrowRunTimeError("Modulo by zero");
        value.SetNumber(std::fmod(value.ToNumber(), divisor));
        return operand.next;
    }

    const char* Juxtaposition(const char* p, Value& value, int level)
    {
        if (level > 9 || !kOperandStarts.Has(*p))
            return nullptr;
        Value right;
        const char* const next = Evaluate(p, right, 10);
        if (next == p)
            return nullptr;
        MakeText(value);
        right.AppendText(value.text);
        CheckTextLength(value.text.size());
        return next;
    }

    // An operand after a '%' that a reader at level 5 or 6 read and then left to the enclosing
    // readers, which meet the same '%' next and take the operand from here instead of reading it
    // again: re-reading would double the work with each link of a chain like "-1 % -1 % -1".
    // Nothing is read between the leaving and the taking, so the operand wanted is always the
    // last one left; reading the same text at the same or a lesser depth gives the same value.
    struct LeftOperand {
        const char* start;
        int depth;
        Value value;
        const char* next;
    };

    Interpreter& fContext;
    const char* const fEnd;
    int fDepth = 0;
    std::vector<LeftOperand> fLeftOperands;
    std::string fScratch; // text forms and variable values on their way into a value
};

} // namespace

const char* Evaluate(Interpreter& context, const char* start, const char* end, Value& value, int level)
{
    return ExpressionReader(context, end).Evaluate(start, value, level);
}

} // namespace ORDO
