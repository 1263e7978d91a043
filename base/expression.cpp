#include "base/expression.h"

#include <cstdlib>
#include <limits>
#include <optional>

#include "base/exceptions.h"
#include "base/text.h"

namespace Wex {

namespace {

// Parentheses and unary minus signs nested deeper than this are rejected, not recursed into.
constexpr int kMaxDepth = 1000;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c)
{
    return IsLetter(c) || IsDigit(c) || c == '$' || c == '_' || c == '.';
}

bool IsBlankText(std::string_view text)
{
    for (const char c : text) {
        if (!IsBlank(c)) {
            return false;
        }
    }
    return true;
}

struct IntArithmetic {
    using Number = int32_t;
    static Number Read(const char* text, char** end) { return static_cast<Number>(std::strtol(text, end, 0)); }
    static Number Add(Number a, Number b) { return static_cast<Number>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
    static Number Subtract(Number a, Number b) { return static_cast<Number>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
    static Number Multiply(Number a, Number b) { return static_cast<Number>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }
    static Number Divide(Number a, Number b)
    {
        if (b == 0 || (a == std::numeric_limits<Number>::min() && b == -1)) {
            throw Exception("Division by zero");
        }
        return a / b;
    }
    static Number Negate(Number a) { return Subtract(0, a); }
};

struct DoubleArithmetic {
    using Number = double;
    static Number Read(const char* text, char** end) { return ReadDouble(text, end); }
    static Number Add(Number a, Number b) { return a + b; }
    static Number Subtract(Number a, Number b) { return a - b; }
    static Number Multiply(Number a, Number b) { return a * b; }
    static Number Divide(Number a, Number b) { return a / b; }
    static Number Negate(Number a) { return -a; }
};

// Recursive-descent evaluation over one arithmetic; `Lookup` answers a variable's value or none.
template <class Arithmetic, class Lookup>
class Evaluator {
public:
    using Number = typename Arithmetic::Number;

    Evaluator(std::string_view text, const Lookup& lookup) : fText(text), fLookup(lookup) {}

    Number Evaluate()
    {
        fPos = fText.c_str();
        return Sum();
    }

private:
    Number Sum()
    {
        Number value = Product();
        for (;;) {
            SkipBlanks();
            if (*fPos == '+') {
                ++fPos;
                value = Arithmetic::Add(value, Product());
            } else if (*fPos == '-') {
                ++fPos;
                value = Arithmetic::Subtract(value, Product());
            } else {
                return value;
            }
        }
    }

    Number Product()
    {
        Number value = Operand();
        for (;;) {
            SkipBlanks();
            if (*fPos == '*') {
                ++fPos;
                value = Arithmetic::Multiply(value, Operand());
            } else if (*fPos == '/') {
                ++fPos;
                value = Arithmetic::Divide(value, Operand());
            } else {
                return value;
            }
        }
    }

    Number Operand()
    {
        SkipBlanks();
        const char c = *fPos;
        if (c == '\0') {
            throw Exception("Unexpected end of string");
        }
        if (c == '-') {
            ++fPos;
            Nest nest(*this);
            return Arithmetic::Negate(Operand());
        }
        if (c == '(') {
            ++fPos;
            Nest nest(*this);
            const Number value = Sum();
            SkipBlanks();
            if (*fPos != ')') {
                throw Exception("Expected ')'");
            }
            ++fPos;
            return value;
        }
        if (IsLetter(c) || c == '$' || c == '_' || (c == '.' && !IsDigit(fPos[1]))) {
            return Variable();
        }
        char* end = nullptr;
        const Number value = Arithmetic::Read(fPos, &end);
        if (end == fPos) {
            throw Exception("Invalid number: " + std::string(fPos));
        }
        fPos = end;
        return value;
    }

    Number Variable()
    {
        const char* start = fPos;
        while (IsNameChar(*fPos)) {
            ++fPos;
        }
        const std::string name(start, fPos);
        const std::optional<Number> value = fLookup(name);
        if (!value) {
            throw Exception("Undefined symbol: " + Quote(name));
        }
        return *value;
    }

    void SkipBlanks()
    {
        while (IsBlank(*fPos)) {
            ++fPos;
        }
    }

    // Counts one level of parentheses or unary minus for as long as it lives.
    class Nest {
    public:
        explicit Nest(Evaluator& evaluator) : fEvaluator(evaluator)
        {
            if (++fEvaluator.fDepth > kMaxDepth) {
                throw Exception("Syntax error");
            }
        }
        ~Nest() { --fEvaluator.fDepth; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

    private:
        Evaluator& fEvaluator;
    };

    // A NUL-terminated copy, as strtol and strtod need; an embedded NUL ends the expression.
    const std::string fText;
    const Lookup& fLookup;
    const char* fPos = nullptr;
    int fDepth = 0;
};

template <class Arithmetic, class Lookup>
typename Arithmetic::Number Evaluate(std::string_view text, const Lookup& lookup)
{
    return Evaluator<Arithmetic, Lookup>(text, lookup).Evaluate();
}

template <class Number>
auto DollarLookup(Number value)
{
    return [value](const std::string& name) { return name == "$" ? std::optional<Number>(value) : std::nullopt; };
}

template <class Number>
auto MapLookup(const std::map<std::string, Number>& variables)
{
    return [&variables](const std::string& name) {
        const auto found = variables.find(name);
        return found != variables.end() ? std::optional<Number>(found->second) : std::nullopt;
    };
}

} // namespace

double EvaluateExpression(std::string_view text, double value)
{
    return IsBlankText(text) ? value : Evaluate<DoubleArithmetic>(text, DollarLookup(value));
}

int32_t EvaluateIntExpressionWithValue(std::string_view text, int32_t value)
{
    return IsBlankText(text) ? value : Evaluate<IntArithmetic>(text, DollarLookup(value));
}

int32_t EvaluateIntExpression(std::string_view text, int32_t startValue, const std::map<std::string, int32_t>& variables)
{
    return IsBlankText(text) ? startValue : Evaluate<IntArithmetic>(text, MapLookup(variables));
}

double EvaluateDoubleExpression(std::string_view text, double& value, const std::map<std::string, double>& variables)
{
    if (!IsBlankText(text)) {
        value = Evaluate<DoubleArithmetic>(text, MapLookup(variables));
    }
    return value;
}

} // namespace Wex
