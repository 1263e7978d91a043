#include "ordo/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ordo/scanner.h"
#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::FailureOf;

class EvaluatorTest : public ::testing::Test {
protected:
    // The text form of the whole expression; marks where evaluation stopped short.
    std::string Eval(std::string_view text)
    {
        Value value;
        const char* const end = text.data() + text.size();
        const char* const stop = SkipBlank(Evaluate(script.context, text.data(), end, value, 0), end);
        if (stop != end)
            return value.ToText() + " <stopped before \"" + std::string(stop, end) + "\">";
        return value.ToText();
    }

    Value::Kind KindOf(std::string_view text)
    {
        Value value;
        Evaluate(script.context, text.data(), text.data() + text.size(), value, 0);
        return value.kind;
    }

    Failure Error(std::string_view text)
    {
        return FailureOf([&] { Eval(text); });
    }

    Failure SyntaxError(const char* message) { return {"syntax", message, ""}; }
    Failure RunTimeError(const char* message) { return {"run-time", message, ""}; }

    Testing::Script script;
};

TEST_F(EvaluatorTest, PrecedenceAndAssociativity)
{
    EXPECT_EQ(Eval("1 + 2 * 3"), "7");
    EXPECT_EQ(Eval("(1 + 2) * 3"), "9");
    EXPECT_EQ(Eval("2 ** 3 ** 2"), "64");
    EXPECT_EQ(Eval("-2 ** 2"), "-4");
    EXPECT_EQ(Eval("10 - 2 - 3"), "5");
    EXPECT_EQ(Eval("12 / 4 / 3"), "1");
    EXPECT_EQ(Eval("1 + 2 3"), "24");
    EXPECT_EQ(Eval("2 < 1 + 2"), "yes");
    EXPECT_EQ(Eval("1 < 2 == 2 < 3"), "no"); // ((1 < 2) == 2) < 3: a boolean is no number
    EXPECT_EQ(Eval("1 + 1 == 2 && 3 > 2"), "yes");
    EXPECT_EQ(Eval("1 / 4"), "0.25");
    EXPECT_EQ(Eval("+ 5"), "5");
    EXPECT_EQ(Eval("- -5"), "5");
}

TEST_F(EvaluatorTest, ValuesKeepTheirKinds)
{
    EXPECT_EQ(KindOf("1 + 2"), Value::Kind::kNumber);
    EXPECT_EQ(KindOf("1 < 2"), Value::Kind::kBoolean);
    EXPECT_EQ(KindOf("a.b_c"), Value::Kind::kText);
    EXPECT_EQ(KindOf("3px"), Value::Kind::kText);
    EXPECT_EQ(KindOf("}"), Value::Kind::kNone);
    EXPECT_EQ(Eval("a.b_c"), "a.b_c");
    EXPECT_EQ(Eval("3px"), "3px");
    EXPECT_EQ(Eval("1 == 1 x"), "no"); // juxtaposition binds tighter: 1 == 1x
    EXPECT_EQ(Eval("(1 == 1) x"), "yesx");
    EXPECT_EQ(Eval("[a  b] c"), "a  bc");
    EXPECT_EQ(Eval("\\x41\\ b"), "A b");
    EXPECT_EQ(Eval("Sin 1"), "Sin1");
    EXPECT_EQ(Eval("1 }"), "1 <stopped before \"}\">");
}

TEST_F(EvaluatorTest, PercentAndModulo)
{
    EXPECT_EQ(Eval("50%"), "0.5");
    EXPECT_EQ(Eval("50% "), "0.5");
    EXPECT_EQ(Eval("50% }"), "0.5 <stopped before \"}\">");
    EXPECT_EQ(Eval("2 * 50%"), "1");
    EXPECT_EQ(Eval("-50%"), "-0.5");
    EXPECT_EQ(Eval("(0 - 50)%"), "0.5");
    EXPECT_EQ(Eval("7 % 4"), "3");
    EXPECT_EQ(Eval("-7 % 4"), "-3");
    EXPECT_EQ(Eval("10 * 7 % 4"), "2");
    EXPECT_EQ(Eval("200% ** 2"), "4");
    EXPECT_EQ(Error("7 % 0"), RunTimeError("Modulo by zero"));
    EXPECT_EQ(Error("x % 0"), RunTimeError("Modulo by zero"));
    // An operand that a unary operator or a product leaves to the enclosing '%'.
    EXPECT_EQ(Eval("2 * -7 % 4"), "-2");
    EXPECT_EQ(Eval("-50% % 7"), "-0.5");
    EXPECT_EQ(Eval("-9 % -5 % 3 + 1"), "0");
    EXPECT_EQ(Eval("-(8 % 5) % 2"), "-1");
    // It is read when the '%' is first met, so its errors come before the unary operator's.
    EXPECT_EQ(Error("-x % (1 / 0)"), RunTimeError("Division by zero"));
}

TEST_F(EvaluatorTest, Comparisons)
{
    EXPECT_EQ(Eval("1 == 1.00000000000001"), "yes");
    EXPECT_EQ(Eval("0 == 1e-300"), "no");
    EXPECT_EQ(Eval("abc < abd"), "yes");
    EXPECT_EQ(Eval("ab < abc"), "yes");
    EXPECT_EQ(Eval("10 < abc"), "yes");
    EXPECT_EQ(Eval("abc >= 10"), "yes");
    EXPECT_EQ(Eval("2 < 10"), "yes");
    EXPECT_EQ(Eval("[2] < [10]"), "yes");
    EXPECT_EQ(Eval("[ 2] < [10]"), "no");
    EXPECT_EQ(Eval("\\xE9 > z"), "yes"); // bytes compare unsigned
    EXPECT_EQ(Eval("1 != 2"), "yes");
    EXPECT_EQ(Eval("2 <= 2"), "yes");
    EXPECT_EQ(Eval("3 >= 4"), "no");
    EXPECT_EQ(Eval("yes == yes"), "yes");
    EXPECT_EQ(Eval("1e400 == 1e400"), "yes");
    EXPECT_EQ(Eval("-1e400 < 1e400"), "yes");
    EXPECT_EQ(Eval("-1e400 == 1e400"), "no");
    EXPECT_EQ(Eval("1e308 < 1e400"), "yes");
    EXPECT_EQ(Error("1 =2"), SyntaxError("Syntax error"));
    EXPECT_EQ(Error("1 ! 2"), SyntaxError("Syntax error"));
    EXPECT_EQ(Error("1 <"), SyntaxError("Unexpected end"));
    EXPECT_EQ(Error("1 < }"), SyntaxError("Syntax error"));
}

TEST_F(EvaluatorTest, LogicalOperatorsEvaluateBothSides)
{
    EXPECT_EQ(Eval("yes && no"), "no");
    EXPECT_EQ(Eval("1 && 2"), "yes");
    EXPECT_EQ(Eval("no || yes"), "yes");
    EXPECT_EQ(Eval("!yes"), "no");
    EXPECT_EQ(Eval("!0"), "yes");
    EXPECT_EQ(Error("maybe || yes"), RunTimeError("Invalid boolean (should be 'yes' or 'no')"));
    EXPECT_EQ(Error("no && 1 / 0"), RunTimeError("Division by zero"));
    EXPECT_EQ(Error("yes || $missing"), RunTimeError("Variable does not exist"));
    EXPECT_EQ(Eval("yes & no"), "yes <stopped before \"& no\">");
}

TEST_F(EvaluatorTest, Conditional)
{
    EXPECT_EQ(Eval("1 ? a : b"), "a");
    EXPECT_EQ(Eval("0 ? a : b"), "b");
    EXPECT_EQ(Eval("1 < 2 ? 3 + 4 : 5"), "7");
    EXPECT_EQ(Eval("yes ? no : yes ? a : b"), "b");
    EXPECT_EQ(Error("x ? a : b"), RunTimeError("Invalid boolean (should be 'yes' or 'no')"));
    EXPECT_EQ(Error("1 ? a b"), SyntaxError("Expected :"));
    EXPECT_EQ(Error("yes ? a : 1 / 0"), RunTimeError("Division by zero"));
}

TEST_F(EvaluatorTest, MathFunctions)
{
    const struct {
        const char* name;
        double (*function)(double);
        double argument;
    } cases[] = {
        {"abs", std::fabs, -2.5},  {"acos", std::acos, 0.5}, {"asin", std::asin, 0.5},  {"atan", std::atan, 2},
        {"ceil", std::ceil, 1.2},  {"cos", std::cos, 1},     {"cosh", std::cosh, 1},    {"exp", std::exp, 1.5},
        {"floor", std::floor, -1.2}, {"log", std::log, 10},  {"log10", std::log10, 50}, {"sin", std::sin, 1},
        {"sinh", std::sinh, 1},    {"sqrt", std::sqrt, 2},   {"tan", std::tan, 1},      {"tanh", std::tanh, 0.5},
    };
    for (const auto& c : cases) {
        Value expected;
        expected.SetNumber(c.function(c.argument));
        Value argument;
        argument.SetNumber(c.argument);
        EXPECT_EQ(Eval(std::string(c.name) + "(" + argument.ToText() + ")"), expected.ToText()) << c.name;
    }
    EXPECT_EQ(Eval("sqrt 16"), "4");
    EXPECT_EQ(Eval("sqrt(16)"), "4");
    EXPECT_EQ(Eval("sqrt 16 + 9"), "13");
    EXPECT_EQ(Eval("-sqrt 4"), "-2");
    EXPECT_EQ(Eval("sqrt sqrt 16"), "2");
    EXPECT_EQ(Eval("sqrtx"), "sqrtx");
    EXPECT_EQ(Eval("ab"), "ab");
    EXPECT_EQ(Eval("absolute"), "absolute");
    EXPECT_EQ(Error("sqrt(-1)"), RunTimeError("Math error"));
    EXPECT_EQ(Error("log 0"), RunTimeError("Math error"));
    EXPECT_EQ(Error("exp 1000"), RunTimeError("Math error"));
    EXPECT_EQ(Error("sqrt x"), RunTimeError("Invalid number"));
    EXPECT_EQ(Error("sqrt"), SyntaxError("Unexpected end"));
}

TEST_F(EvaluatorTest, ArithmeticErrors)
{
    EXPECT_EQ(Error("1 / 0"), RunTimeError("Division by zero"));
    EXPECT_EQ(Error("0 ** -1"), RunTimeError("Math error"));
    EXPECT_EQ(Error("(0 - 8) ** 0.5"), RunTimeError("Math error"));
    EXPECT_EQ(Error("10 ** 400"), RunTimeError("Math error"));
    EXPECT_EQ(Error("a-b"), RunTimeError("Invalid number"));
    EXPECT_EQ(Error("3px + 1"), RunTimeError("Invalid number"));
    EXPECT_EQ(Error("1 +"), SyntaxError("Unexpected end"));
    EXPECT_EQ(Error("1 + )"), SyntaxError("Syntax error"));
    EXPECT_EQ(Error("(1"), SyntaxError("Syntax error"));
    EXPECT_EQ(Error("-"), SyntaxError("Unexpected end"));
    EXPECT_EQ(Error("- )"), SyntaxError("Syntax error"));
    EXPECT_EQ(Error("\\300"), SyntaxError("Invalid character escape code inside { } expression"));
    EXPECT_EQ(Error("\\4294967361"), SyntaxError("Invalid character escape code inside { } expression"));
    EXPECT_EQ(Eval("\\255"), "\xFF");
}

TEST_F(EvaluatorTest, OverflowGivesInfinityNotAHang)
{
    EXPECT_EQ(Eval("1e400"), "inf");
    EXPECT_EQ(Eval("1e300 * 1e300"), "inf");
    EXPECT_EQ(Eval("-1e400"), "-inf");
    EXPECT_EQ(Eval("1e400 - 1e400"), "nan");
    EXPECT_EQ(Error("1e400 x + 1"), RunTimeError("Invalid number"));
}

TEST_F(EvaluatorTest, EmptyExpressionReadsNothing)
{
    Value value;
    value.SetNumber(5);
    const std::string text = "  }";
    EXPECT_EQ(Evaluate(script.context, text.data(), text.data() + text.size(), value, 0), text.data());
    EXPECT_EQ(value.kind, Value::Kind::kNone);
    const std::string backslash = "\\";
    EXPECT_EQ(Evaluate(script.context, backslash.data(), backslash.data() + 1, value, 0), backslash.data());
    EXPECT_EQ(Error(""), SyntaxError("Unexpected end"));
    EXPECT_EQ(Error("  /* */ "), SyntaxError("Unexpected end"));
}

TEST_F(EvaluatorTest, VariablesAreLookedUpOutward)
{
    script.variables.Declare("x", "4");
    script.variables.Declare("item3", "three");
    script.variables.Declare("i", "3");
    Variables inner;
    inner.Declare("x", "5");
    Interpreter frame = Interpreter::Frame(script.context, inner);
    Value value;
    const std::string text = "$x + 1";
    Evaluate(frame, text.data(), text.data() + text.size(), value, 0);
    EXPECT_EQ(value.ToText(), "6");
    EXPECT_EQ(Eval("$x * 2"), "8");
    EXPECT_EQ(Eval("$item ($i)"), "three");
    EXPECT_EQ(Eval("$item 3"), "three");
    EXPECT_EQ(Eval("($x)$x"), "44");
    EXPECT_EQ(Error("$x$x"), RunTimeError("Variable does not exist")); // the name is x4
    EXPECT_EQ(KindOf("$x"), Value::Kind::kText);
    // A name that reads as a number is the number's text.
    script.variables.Declare("1", "one");
    script.variables.Declare("1.5", "one and a half");
    EXPECT_EQ(Eval("$1"), "one");
    EXPECT_EQ(Eval("$01"), "one");
    EXPECT_EQ(Eval("$1.50"), "one and a half");
    EXPECT_EQ(Eval("$1e0"), "one");
    EXPECT_EQ(Eval("$sqrt 1"), "one");
    EXPECT_EQ(Error("$x 1"), RunTimeError("Variable does not exist")); // the name is x1
    EXPECT_EQ(Error("$nothing"), RunTimeError("Variable does not exist"));
    EXPECT_EQ(Error("$"), SyntaxError("Unexpected end"));
}

// A store that counts the look-ups made in it.
class CountingVariables : public Variables {
public:
    bool Get(std::string_view name, std::string& value) override
    {
        ++gets;
        return Variables::Get(name, value);
    }
    size_t gets = 0;
};

TEST(EvaluatorWorkTest, AnOperandAfterPercentIsReadOnce)
{
    // Every "% -$x" is first read as the operand of the unary minus before it, which leaves
    // the '%' to the enclosing reader; reading the operand afresh each time doubles the work
    // with every link of the chain.
    Testing::RecordingExecutor executor;
    CountingVariables variables;
    variables.Declare("a", "100");
    variables.Declare("x", "7");
    Interpreter context(executor, variables, 10, 10);
    const size_t links = 16;
    std::string text = "-$a";
    for (size_t i = 0; i < links; ++i)
        text += " % -$x";
    Value value;
    EXPECT_EQ(Evaluate(context, text.data(), text.data() + text.size(), value, 0), text.data() + text.size());
    EXPECT_EQ(value.ToText(), "-2");
    EXPECT_EQ(variables.gets, links + 1);
    // The same chain behind a multiplication, whose right operand is read at level 5 too.
    text = "2 * $a" + text.substr(3) + " * 3";
    variables.gets = 0;
    Evaluate(context, text.data(), text.data() + text.size(), value, 0);
    EXPECT_EQ(value.ToText(), "12");
    EXPECT_EQ(variables.gets, links + 1);
}

TEST_F(EvaluatorTest, DeepNestingIsBounded)
{
    const int deep = 100000;
    EXPECT_EQ(Error(std::string(deep, '(') + "1" + std::string(deep, ')')), RunTimeError("Recursion limit reached"));
    EXPECT_EQ(Error(std::string(deep, '-') + "1"), RunTimeError("Recursion limit reached"));
    EXPECT_EQ(Error(std::string(deep, '!') + "yes"), RunTimeError("Recursion limit reached"));
    EXPECT_EQ(Error(std::string(deep, '$') + "x"), RunTimeError("Recursion limit reached"));
    std::string functions;
    for (int i = 0; i < deep; ++i)
        functions += "abs ";
    EXPECT_EQ(Error(functions + "1"), RunTimeError("Recursion limit reached"));

    const int shallow = kMaxExpressionDepth - 2;
    EXPECT_EQ(Eval(std::string(shallow, '(') + "1" + std::string(shallow, ')')), "1");
    EXPECT_EQ(Eval(std::string(shallow, '-') + "1"), "1");
    // A long flat expression needs no depth at all.
    std::string sum = "0";
    for (int i = 0; i < 10000; ++i)
        sum += " + 1";
    EXPECT_EQ(Eval(sum), "10000");
    // The depth count is restored after an error.
    EXPECT_EQ(Error("(((1 / 0)))"), RunTimeError("Division by zero"));
    EXPECT_EQ(Eval(std::string(shallow, '(') + "2" + std::string(shallow, ')')), "2");
}

} // namespace
} // namespace ORDO
