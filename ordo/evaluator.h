#pragma once

#include "ordo/interpreter.h"
#include "ordo/value.h"

namespace ORDO {

// The deepest nesting of parentheses, unary operators and function operands an expression
// may have: "Recursion limit reached" beyond it.
inline constexpr int kMaxExpressionDepth = 256;

// Evaluates the longest expression at start that the precedence level (0 to 11) allows into
// value and returns the position after it, before any blanks that follow; returns start when
// nothing could be read. end is the end of the whole text.
const char* Evaluate(Interpreter& context, const char* start, const char* end, Value& value, int level);

} // namespace ORDO
