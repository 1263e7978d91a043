// Test helpers: path vertices written as Move(x, y), Line(x, y), Close(x, y), and a comparison of
// vertex lists within a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "raster/path.h"

namespace QorRaster::Testing {

using V = Path::Vertex;
inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline V Move(double x, double y) { return V{Path::kMove, x, y}; }
inline V Line(double x, double y) { return V{Path::kLine, x, y}; }
inline V Close(double x, double y) { return V{Path::kClose, x, y}; }

inline void ExpectNear(const std::vector<V>& actual, const std::vector<V>& expected, double tolerance = 1e-9) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].kind, expected[i].kind) << "vertex " << i;
    EXPECT_NEAR(actual[i].x, expected[i].x, tolerance) << "vertex " << i;
    EXPECT_NEAR(actual[i].y, expected[i].y, tolerance) << "vertex " << i;
  }
}

}  // namespace QorRaster::Testing
