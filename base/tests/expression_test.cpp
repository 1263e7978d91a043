#include "base/expression.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/exceptions.h"

namespace {

std::string IntError(std::string_view text)
{
    try {
        Wex::EvaluateIntExpressionWithValue(text, 0);
    } catch (const Exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(Expression, PrecedenceParenthesesAndUnaryMinus)
{
    EXPECT_EQ(Wex::EvaluateExpression("1 + 2 * 3", 0), 7);
    EXPECT_EQ(Wex::EvaluateExpression("(1 + 2) * 3", 0), 9);
    EXPECT_EQ(Wex::EvaluateExpression("8 / 2 / 2", 0), 2);
    EXPECT_EQ(Wex::EvaluateExpression("10 - 4 - 3", 0), 3);
    EXPECT_EQ(Wex::EvaluateExpression("-$ * -2", 1.5), 3);
    EXPECT_EQ(Wex::EvaluateExpression("--2", 0), 2);
    EXPECT_EQ(Wex::EvaluateExpression("1.5e1 + .5", 0), 15.5);
    EXPECT_EQ(Wex::EvaluateExpression("\t\n3\n*\n2", 0), 6);
}

TEST(Expression, BlankTextGivesTheValueAndTrailingTextIsIgnored)
{
    EXPECT_EQ(Wex::EvaluateExpression("", 4.5), 4.5);
    EXPECT_EQ(Wex::EvaluateExpression(" \t", 4.5), 4.5);
    EXPECT_EQ(Wex::EvaluateExpression("2 3", 0), 2);
    EXPECT_EQ(Wex::EvaluateExpression("2)", 0), 2);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("", -9), -9);
    EXPECT_EQ(Wex::EvaluateIntExpression(" ", 5, {}), 5);
    EXPECT_TRUE(std::isinf(Wex::EvaluateExpression("1/0", 0)));
}

TEST(Expression, IntegersReadLikeStrtolAndWrap)
{
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("0x10 + 010 + 10", 0), 34);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("7 / 2", 0), 3);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("-7 / 2", 0), -3);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("$ + 4", 100), 104);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("2147483647 + 1", 0), -2147483647 - 1);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("0xffffffff", 0), -1);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("65536 * 65536", 0), 0);
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue("-(-2147483647 - 1)", 0), -2147483647 - 1);
}

TEST(Expression, IntegerDivisionByZeroAndOverflowingQuotientAreErrors)
{
    EXPECT_EQ(IntError("1 / 0"), "Division by zero");
    EXPECT_EQ(IntError("1 / (2 - 2)"), "Division by zero");
    EXPECT_EQ(IntError("(-2147483647 - 1) / -1"), "Division by zero");
}

TEST(Expression, VariablesComeFromTheMap)
{
    const std::map<std::string, int32_t> layout{{"l", 10}, {"w", 200}, {"$", 7}, {"params.x_1", 3}};
    EXPECT_EQ(Wex::EvaluateIntExpression("w - l * 2", 0, layout), 180);
    EXPECT_EQ(Wex::EvaluateIntExpression("$+params.x_1", 0, layout), 10);
    double value = 1.25;
    const std::map<std::string, double> face{{"h", 4.0}};
    EXPECT_EQ(Wex::EvaluateDoubleExpression("h / 8", value, face), 0.5);
    EXPECT_EQ(value, 0.5);
    EXPECT_EQ(Wex::EvaluateDoubleExpression("  ", value, face), 0.5);
    EXPECT_THROW(Wex::EvaluateDoubleExpression("$", value, face), Exception);
    EXPECT_EQ(value, 0.5);
}

TEST(Expression, ErrorsCarryTheEvaluatorsMessages)
{
    EXPECT_EQ(IntError("1 +"), "Unexpected end of string");
    EXPECT_EQ(IntError("-"), "Unexpected end of string");
    EXPECT_EQ(IntError("(1 + 2"), "Expected ')'");
    EXPECT_EQ(IntError("(1 2)"), "Expected ')'");
    EXPECT_EQ(IntError("2 * #3"), "Invalid number: #3");
    EXPECT_EQ(IntError("()"), "Invalid number: )");
    EXPECT_EQ(IntError("x + 1"), "Undefined symbol: \"x\"");
    EXPECT_EQ(IntError("$x"), "Undefined symbol: \"$x\"");
    EXPECT_EQ(IntError(".a"), "Undefined symbol: \".a\"");
}

TEST(Expression, DeepNestingIsASyntaxErrorNotAStackOverflow)
{
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue(std::string(1000, '(') + "1" + std::string(1000, ')'), 0), 1);
    EXPECT_EQ(IntError(std::string(1001, '(') + "1" + std::string(1001, ')')), "Syntax error");
    EXPECT_EQ(IntError(std::string(100000, '(')), "Syntax error");
    EXPECT_EQ(IntError(std::string(100000, '-') + "1"), "Syntax error");
    EXPECT_EQ(Wex::EvaluateIntExpressionWithValue(std::string(1000, '-') + "1", 0), 1);
}

} // namespace
