// Arithmetic expressions over 32-bit integers or doubles: numbers, variables, unary minus, '*'
// and '/' before '+' and '-', and parentheses. Text after a complete expression is ignored.
// Variable names consist of letters, digits, '$', '_' and '.'.
//
// Errors throw Exception: "Syntax error" (parentheses or minus signs nested too deeply),
// "Unexpected end of string" (an operator without its operand), "Expected ')'", "Invalid number: "
// followed by the rest of the text, "Undefined symbol: " followed by the quoted name, and, for
// integers, "Division by zero" (also for the one quotient that overflows, INT32_MIN / -1).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace Wex {

// Numbers as strtod reads them; "$" is the value. An empty or blank text gives the value.
double EvaluateExpression(std::string_view text, double value);
// Numbers as strtol with base 0 reads them, cut to 32 bits, and wrapping arithmetic; "$" is the
// value. An empty or blank text gives the value.
int32_t EvaluateIntExpressionWithValue(std::string_view text, int32_t value);
// The integer evaluator over the map's variables; an empty or blank text gives the start value.
int32_t EvaluateIntExpression(std::string_view text, int32_t startValue, const std::map<std::string, int32_t>& variables);
// The double evaluator over the map's variables: the result is stored in `value` and returned; an
// empty or blank text leaves `value` unchanged.
double EvaluateDoubleExpression(std::string_view text, double& value, const std::map<std::string, double>& variables);

} // namespace Wex
