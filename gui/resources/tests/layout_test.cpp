#include "gui/resources/layout.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/resources/tests/outcome.h"

namespace {

using ResourcesTest::Outcome;
using Wex::cRect;

std::string Show(std::int32_t a, std::int32_t b) { return std::to_string(a) + " " + std::to_string(b); }
std::string ShowReal(double a, double b) { return std::to_string(a) + " " + std::to_string(b); }

TEST(ReadLayoutRect, FieldsAgainstTheReference) {
  const cRect a{0, 0, 200, 100}, b{50, 40, 250, 140}, whole{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  const std::tuple<const char*, cRect, const char*> cases[] = {
      {"", a, "0 0 200 100"}, {"{ 10, 20, 100, 30 }", a, "10 20 110 50"},
      {"{ 10, 10, w - 20, h - 20 }", a, "10 10 190 90"}, {"{ 10, 10, r - l - 10, b - t - 10 }", a, "10 10 190 90"},
      {"{ $, $, $, $ }", a, "0 0 200 100"}, {"{ 10, 20 }", a, "10 20 10 20"}, {"{ 1, 2, 3, 4, 5 }", a, "1 2 4 6"},
      {"{ $ + 5, $, $, $ }", b, "55 40 255 140"}, {"{ l, t, r - l, 20 }", b, "50 40 250 60"},
      {"{ 0, 0, w, h }", b, "0 0 200 100"}, {"{ 5, 6, w / 2 + l, w + h + r + b }", b, "5 6 110 601"},
      {"{ , , 0x10, 010 }", b, "0 0 16 8"}, {"{ 30, 30, -40, -50 }", a, "30 30 -10 -20"},
      {"{ 2147483647, -2147483648, 1, -1 }", a, "2147483647 -2147483648 -2147483648 2147483647"},
      {"{ 0, 0, $, $ }", whole, "0 0 -1 -1"},
      {"{ x, 0, 0, 0 }", a, "Exception: Undefined symbol: \"x\""},
      {"{ 0, 0, 0, $$ }", a, "Exception: Undefined symbol: \"$$\""},
      {"{ 0, (1, 0, 0 }", a, "Exception: Expected ')'"}, {"{ 0, 0, 0, 0", a, "FormatException: Missing }"},
  };
  for (const auto& [text, reference, expected] : cases) {
    EXPECT_EQ(Outcome(
                  [](const char* t, const cRect& reference) {
                    const cRect r = Velto::ReadLayoutRect(t, reference);
                    return Show(r.fLeft, r.fTop) + " " + Show(r.fRight, r.fBottom);
                  },
                  text, reference),
              expected)
        << text;
  }
}

TEST(ReadPoints, PairsEvaluateTheSecondFieldFirst) {
  const std::tuple<const char*, std::pair<std::int32_t, std::int32_t>, const char*> ints[] = {
      {"", {3, 4}, "3 4"}, {"{ 10 }", {3, 4}, "10 4"}, {"{ $ * 2, $ + 1 }", {3, 4}, "6 5"}, {"{ , }", {3, 4}, "3 4"},
      {"1, 2, 3", {3, 4}, "1 2"}, {"$ * 2", {5, 0}, "10 0"}, {"0x10; 010", {0, 0}, "16 8"},
      {"{ , $ - 1 }", {0, INT32_MIN}, "0 2147483647"},
      {"{ a, b }", {0, 0}, "Exception: Undefined symbol: \"b\""},
      {"{ a, 1 }", {0, 0}, "Exception: Undefined symbol: \"a\""},
  };
  for (const auto& [text, defaultPair, expected] : ints) {
    EXPECT_EQ(Outcome(
                  [](const char* t, std::pair<std::int32_t, std::int32_t> d) {
                    const auto [x, y] = Velto::ReadIntPair(t, d);
                    const Wex::cPoint p = Velto::ReadIntPoint(t, {d.first, d.second});
                    return p == Wex::cPoint{x, y} ? Show(x, y) : "point differs";
                  },
                  text, defaultPair),
              expected)
        << text;
  }
  const std::tuple<const char*, std::pair<double, double>, std::string> reals[] = {
      {"", {3, 4}, ShowReal(3, 4)}, {"{ $ * 2, $ + 1 }", {3, 4}, ShowReal(6, 5)},
      {"{ , }", {0.5, 0.25}, ShowReal(0.5, 0.25)},
      {"1.5, 2.5, 3.5", {0, 0}, ShowReal(1.5, 2.5)}, {"$ * 2", {0.5, 1}, ShowReal(1, 1)},
      {"{ 1e3, -$ / 4 }", {0, 2}, ShowReal(1000, -0.5)}, {"{ (, b }", {0, 0}, "Exception: Undefined symbol: \"b\""},
  };
  for (const auto& [text, defaultPair, expected] : reals) {
    EXPECT_EQ(Outcome(
                  [](const char* t, std::pair<double, double> d) {
                    const auto [x, y] = Velto::ReadRealPair(t, d);
                    const QorRaster::Point p = Velto::ReadRealPoint(t, {d.first, d.second});
                    return p.x == x && p.y == y ? ShowReal(x, y) : "point differs";
                  },
                  text, defaultPair),
              expected)
        << text;
  }
}

}  // namespace
