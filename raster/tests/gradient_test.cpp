#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "raster/clip.h"
#include "raster/gradient.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Expand;
using Testing::Literal;
using Testing::Repeated;

TEST(LinearMaskTest, HorizontalRampHasConstantEndsAndALiteralMiddle) {
  LinearMask mask(0, 0, 256, 0);
  std::vector<Coverage> ramp;
  for (int c = 1; c <= 255; ++c) ramp.push_back(static_cast<Coverage>(c));
  EXPECT_EQ(Collect<Coverage>(mask, 0, 7, 300),
            (std::vector{Repeated<Coverage>(1, 0), Literal<Coverage>(ramp), Repeated<Coverage>(44, 255, kRunOpaque)}));
  EXPECT_EQ(mask.GetBounds(), WholePlaneRect);
}

TEST(LinearMaskTest, VerticalRampIsConstantAlongEachRow) {
  LinearMask mask(0, 0, 0, 256);
  EXPECT_EQ(Collect<Coverage>(mask, -40, 0, 100), (std::vector{Repeated<Coverage>(100, 0)}));
  EXPECT_EQ(Collect<Coverage>(mask, -40, 77, 100), (std::vector{Repeated<Coverage>(100, 77)}));
  EXPECT_EQ(Collect<Coverage>(mask, 9, 255, 3), (std::vector{Repeated<Coverage>(3, 255, kRunOpaque)}));
  EXPECT_EQ(Collect<Coverage>(mask, 9, 1000, 3), (std::vector{Repeated<Coverage>(3, 255, kRunOpaque)}));
}

TEST(LinearMaskTest, ShortRampStartsWhereTReachesOne) {
  LinearMask mask(10, 0, 20, 0);
  const auto runs = Collect<Coverage>(mask, 0, 0, 40);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], Repeated<Coverage>(11, 0));
  // step = trunc(6553.6) = 6553; t at column 11 is -65536 + 11 * 6553.
  std::vector<Coverage> expected;
  for (std::int32_t t = -65536 + 11 * 6553; t <= 65535; t += 6553) expected.push_back(static_cast<Coverage>(t >> 8));
  EXPECT_EQ(runs[1], Literal<Coverage>(expected));
  EXPECT_EQ(runs[2], Repeated<Coverage>(40 - 11 - static_cast<std::int32_t>(expected.size()), 255, kRunOpaque));
}

TEST(LinearMaskTest, DescendingRampMirrorsTheAscendingOne) {
  LinearMask mask(256, 0, 0, 0);
  const auto values = Expand(Collect<Coverage>(mask, -10, 3, 280));
  for (int c = -10; c < 270; ++c) {
    const int t = (256 - c) * 256;
    EXPECT_EQ(values[static_cast<std::size_t>(c + 10)], std::clamp(t >> 8, 0, 255)) << c;
  }
}

TEST(LinearMaskTest, DegenerateAndFarGradientsStayDefined) {
  LinearMask point(5, 5, 5, 5);
  EXPECT_EQ(Collect<Coverage>(point, -1000, 3, 512), (std::vector{Repeated<Coverage>(512, 0)}));
  // End points that nearly coincide: the step leaves the 32-bit range.
  LinearMask steep(0, 0, 1e-7, 0);
  EXPECT_EQ(Expand(Collect<Coverage>(steep, -3, 0, 6)), (std::vector<Coverage>{0, 0, 0, 0, 255, 255}));
  LinearMask tiny(0, 0, 1e-160, 1e-160);
  for (Coverage v : Expand(Collect<Coverage>(tiny, -256, -5, 512))) EXPECT_TRUE(v == 0 || v == 255);
  // Far pixels of a gentle gradient.
  LinearMask wide(0, 0, 1e6, 0);
  EXPECT_EQ(Collect<Coverage>(wide, 0x3FFFFE00, 0x3FFFFE00, 512), (std::vector{Repeated<Coverage>(512, 255, kRunOpaque)}));
  EXPECT_EQ(Collect<Coverage>(wide, -0x40000000, 0, 512), (std::vector{Repeated<Coverage>(512, 0)}));
}

TEST(RadialRampTest, FallsFrom255To0WithTheSquareRootOfTheIndex) {
  const auto& ramp = RadialRamp();
  EXPECT_EQ(ramp[0], 255);
  EXPECT_EQ(ramp[1], 251);
  EXPECT_EQ(ramp[4095], 0);
  EXPECT_EQ(ramp[1008], 255 - static_cast<int>(std::floor(255 * std::sqrt(1008 / 4095.0) + 0.5)));
}

// The value of a pixel whose squared-distance number is q, by the fine or the coarse formula.
Coverage RadialValue(double q, bool fine) {
  const auto& ramp = RadialRamp();
  const auto qi = static_cast<std::int64_t>(std::clamp(q, 0.0, 1073741823.0));
  return fine ? static_cast<Coverage>((ramp[static_cast<std::size_t>(qi >> 10)] + 3825) >> 4)
              : ramp[static_cast<std::size_t>(qi >> 18)];
}

TEST(RadialMaskTest, CentredOnAPixelCentre) {
  RadialMask mask(10.5, 10.5, 8, 8);
  EXPECT_EQ(mask.GetBounds(), IntRect(2, 2, 17, 17));
  const auto runs = Collect<Coverage>(mask, 0, 10, 30);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0], Repeated<Coverage>(3, 0));
  EXPECT_EQ(runs[2], Repeated<Coverage>(11, 0));
  const auto values = Expand(runs);
  EXPECT_EQ(values[10], 255);
  // Kx = 2^24 exactly, so each q is Kx * (px^2 + px) with px = column - 10.5.
  for (int col = 3; col < 19; ++col) {
    const double px = col - 10.5;
    EXPECT_EQ(values[static_cast<std::size_t>(col)], RadialValue(16777216.0 * (px * px + px), false)) << col;
  }
  EXPECT_EQ(Collect<Coverage>(mask, 0, 1, 30), (std::vector{Repeated<Coverage>(30, 0)}));
  EXPECT_EQ(Collect<Coverage>(mask, 0, 18, 30), (std::vector{Repeated<Coverage>(30, 0)}));
}

TEST(RadialMaskTest, FineRampOnlyForWholeGroupsOfFourNearTheCentre) {
  RadialMask mask(100.5, 100.5, 64, 64);
  const auto values = Expand(Collect<Coverage>(mask, 0, 100, 256));
  // The inside stretch starts at column 37; groups of four start at 37 + 4k, so column 96 (fine
  // by its own q) shares a coarse group with 93 to 95, while 97 to 104 are two fine groups.
  EXPECT_EQ(values[36], 0);
  for (int col = 37; col < 165; ++col) {
    const double px = col - 100.5;
    const bool fine = col >= 97 && col <= 104;
    EXPECT_EQ(values[static_cast<std::size_t>(col)], RadialValue(262144.0 * (px * px + px), fine)) << col;
  }
  EXPECT_NE(RadialValue(262144.0 * (4.5 * 4.5 - 4.5), true), RadialValue(262144.0 * (4.5 * 4.5 - 4.5), false));
  EXPECT_EQ(values[165], 0);
}

TEST(RadialMaskTest, EllipseRowsNarrowTowardsTheTop) {
  RadialMask mask(50, 20, -40, 10);  // radii count by their magnitude
  EXPECT_EQ(mask.GetBounds(), IntRect(10, 10, 80, 20));
  auto insideCount = [&](std::int32_t y) {
    int n = 0;
    for (Coverage v : Expand(Collect<Coverage>(mask, 0, y, 100))) n += v > 0;
    return n;
  };
  EXPECT_GT(insideCount(19), insideCount(14));
  EXPECT_GT(insideCount(14), insideCount(11));
  EXPECT_EQ(insideCount(9), 0);
}

TEST(RadialMaskTest, SegmentsThatAnOffsetWrapsPastTheLastColumnRenderAsAnywhereElse) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  RadialMask far(kMax + 5.5, 0.5, 3, 3);
  OffsetMask moved(&far, -16, 0);  // asks the mask for the columns kMax - 4 to kMax + 11, wrapped
  RadialMask near(5.5, 0.5, 3, 3);
  const auto expected = Collect<Coverage>(near, -4, 0, 16);
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(Collect<Coverage>(moved, kMax - 20, 0, 16), expected);
}

TEST(RadialMaskTest, TinyAndHugeRadiiStayDefined) {
  RadialMask empty(5, 5, 1e-9, 5);
  EXPECT_EQ(empty.GetBounds(), EmptyRect);
  EXPECT_EQ(Collect<Coverage>(empty, 0, 5, 10), (std::vector{Repeated<Coverage>(10, 0)}));
  EXPECT_EQ(RadialMask(5, 5, 5, NAN).GetBounds(), EmptyRect);
  // A sub-pixel radius centred on a pixel centre covers that pixel fully.
  RadialMask dot(3.5, 3.5, 1e-6, 1e-6);
  EXPECT_EQ(Collect<Coverage>(dot, 0, 3, 8), (std::vector{Repeated<Coverage>(3, 0), Literal<Coverage>({255}), Repeated<Coverage>(4, 0)}));
  RadialMask small(3.5, 3.5, 0.7, 0.7);
  EXPECT_EQ(Expand(Collect<Coverage>(small, 0, 3, 8))[3], 255);
  RadialMask huge(0, 0, 1e12, 1e12);
  EXPECT_EQ(huge.GetBounds(), IntRect(-0x40000000, -0x40000000, 0x7FFFFFFF, 0x7FFFFFFF));
  for (Coverage v : Expand(Collect<Coverage>(huge, -256, 0, 512))) EXPECT_EQ(v, 255);
}

}  // namespace
}  // namespace QorRaster
