#include "gui/resources/layout.h"

#include <map>
#include <string>
#include <vector>

#include "base/expression.h"
#include "base/key_value.h"

namespace Velto {

namespace {

// The items of a list text, cut or padded with empty items to the count.
std::vector<std::string> ReadItems(std::string_view text, std::size_t count) {
  std::vector<std::string> items;
  Wex::ParseListInto(text, items);
  items.resize(count);
  return items;
}

template <class Number, class Evaluate>
std::pair<Number, Number> ReadPair(std::string_view text, std::pair<Number, Number> defaultPair, Evaluate evaluate) {
  if (text.empty()) return defaultPair;
  const std::vector<std::string> items = ReadItems(text, 2);
  const Number y = evaluate(items[1], defaultPair.second);
  const Number x = evaluate(items[0], defaultPair.first);
  return {x, y};
}

}  // namespace

Wex::cRect ReadLayoutRect(std::string_view text, const Wex::cRect& reference) {
  if (text.empty()) return reference;
  const std::vector<std::string> items = ReadItems(text, 4);
  std::map<std::string, std::int32_t> variables = {
      {"l", reference.fLeft},    {"t", reference.fTop},      {"w", reference.Width()}, {"h", reference.Height()},
      {"r", reference.fRight},   {"b", reference.fBottom},   {"$", reference.fLeft},
  };
  const std::int32_t left = Wex::EvaluateIntExpression(items[0], 0, variables);
  variables["l"] = left;
  variables["$"] = reference.fTop;
  const std::int32_t top = Wex::EvaluateIntExpression(items[1], 0, variables);
  variables["t"] = top;
  variables["$"] = reference.Width();
  const std::int32_t width = Wex::EvaluateIntExpression(items[2], 0, variables);
  variables["w"] = width;
  variables["$"] = reference.Height();
  const std::int32_t height = Wex::EvaluateIntExpression(items[3], 0, variables);
  return {left, top, Wex::WrapAdd(left, width), Wex::WrapAdd(top, height)};
}

std::pair<std::int32_t, std::int32_t> ReadIntPair(std::string_view text,
                                                  std::pair<std::int32_t, std::int32_t> defaultPair) {
  return ReadPair(text, defaultPair, Wex::EvaluateIntExpressionWithValue);
}

std::pair<double, double> ReadRealPair(std::string_view text, std::pair<double, double> defaultPair) {
  return ReadPair(text, defaultPair, Wex::EvaluateExpression);
}

Wex::cPoint ReadIntPoint(std::string_view text, const Wex::cPoint& defaultPoint) {
  const auto [x, y] = ReadIntPair(text, {defaultPoint.fX, defaultPoint.fY});
  return {x, y};
}

QorRaster::Point ReadRealPoint(std::string_view text, const QorRaster::Point& defaultPoint) {
  const auto [x, y] = ReadRealPair(text, {defaultPoint.x, defaultPoint.y});
  return {x, y};
}

}  // namespace Velto
