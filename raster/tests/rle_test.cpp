#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "raster/image.h"
#include "raster/rle.h"
#include "raster/solid.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Expand;
using Testing::Literal;
using Testing::Repeated;

TEST(RLETest, SolidRowsPackIntoOneWordAndOneValueEach) {
  SolidPaint opaque(0xFF336699);
  RLEImage packed(IntRect(-5, 7, 1000, 2), opaque);
  EXPECT_EQ(std::vector<std::uint16_t>(packed.GetRunWords().begin(), packed.GetRunWords().end()),
            (std::vector<std::uint16_t>{1000 | 0xC000, 1000 | 0xC000}));
  EXPECT_EQ(packed.GetValues().size(), 2u);
  SolidPaint translucent(0x80336699);
  packed.Set(translucent);
  EXPECT_EQ(packed.GetRunWords()[0], 1000 | 0x8000);
  EXPECT_EQ(packed.GetBounds(), IntRect(-5, 7, 1000, 2));
}

TEST(RLETest, RowsLongerThanARunWordTakeSeveral) {
  SolidMask full(255);
  RLEMask packed(IntRect(0, 0, 20000, 1), full);
  EXPECT_EQ(std::vector<std::uint16_t>(packed.GetRunWords().begin(), packed.GetRunWords().end()),
            (std::vector<std::uint16_t>{31 * 512 | 0xC000, (20000 - 31 * 512) | 0xC000}));
  EXPECT_EQ(Collect<Coverage>(packed, 15800, 0, 200),
            (std::vector{Repeated<Coverage>(72, 255, kRunOpaque), Repeated<Coverage>(128, 255, kRunOpaque)}));
}

TEST(RLETest, LiteralChunksOfARowMergeAndRenderFromAnyColumn) {
  Image image(IntRect(0, 0, 1100, 1));
  for (std::int32_t x = 0; x < 1100; ++x) *image.At(x, 0) = static_cast<Pixel>(x % 7);
  RLEImage packed(image.GetBounds(), image);
  EXPECT_EQ(packed.GetRunWords().size(), 1u);
  EXPECT_EQ(packed.GetValues().size(), 1100u);
  EXPECT_EQ(Collect<Pixel>(packed, 1097, 0, 5), (std::vector{Literal<Pixel>({1097 % 7, 1098 % 7, 1099 % 7}), Repeated<Pixel>(2, 0)}));
  EXPECT_EQ(Collect<Pixel>(packed, -1, 0, 3), (std::vector{Repeated<Pixel>(1, 0), Literal<Pixel>({0, 1})}));
}

TEST(RLETest, RendersTheRestOfARepeatedRunAndTransparentOutside) {
  SolidRectPaint rect(0xFF00FF00, IntRect(10, 1, 30, 1));
  RLEImage packed(IntRect(0, 0, 50, 3), rect);
  EXPECT_EQ(Collect<Pixel>(packed, 0, 5, 9), (std::vector{Repeated<Pixel>(9, 0)}));
  EXPECT_EQ(Collect<Pixel>(packed, 25, 1, 20),
            (std::vector{Repeated<Pixel>(15, 0xFF00FF00, kRunOpaque), Repeated<Pixel>(5, 0)}));
  EXPECT_EQ(Collect<Pixel>(packed, 0, 0, 60), (std::vector{Repeated<Pixel>(50, 0), Repeated<Pixel>(10, 0)}));
}

TEST(RLETest, DrawCompositesTheMaskIntoItself) {
  SolidMask twoHundred(200);
  RLEMask packed(IntRect(0, 0, 30, 2), twoHundred);
  SolidMask hundred(100);
  packed.Draw(hundred);
  EXPECT_EQ(std::vector<std::uint16_t>(packed.GetRunWords().begin(), packed.GetRunWords().end()),
            (std::vector<std::uint16_t>{30 | 0xC000, 30 | 0xC000}));
  EXPECT_EQ(Collect<Coverage>(packed, 0, 1, 30), (std::vector{Repeated<Coverage>(30, 255, kRunOpaque)}));
}

// Segments asked for in any order, including wholly outside the columns of a row inside the
// bounds, return exactly the packed values.
TEST(RLETest, RandomRowsRenderBackWhateverTheOrderOfRequests) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 20; ++trial) {
    const IntRect bounds(static_cast<std::int32_t>(rng() % 100) - 50, -3, 300 + static_cast<std::int32_t>(rng() % 1500), 6);
    MaskImage image(bounds);
    for (std::int32_t y = bounds.y; y < bounds.GetBottom(); ++y) {
      for (std::int32_t x = bounds.x; x < bounds.GetRight();) {
        const auto n = std::min<std::int32_t>(1 + static_cast<std::int32_t>(rng() % 30), bounds.GetRight() - x);
        const bool repeated = rng() % 2 == 0;
        const auto v = static_cast<Coverage>(rng() % 3 == 0 ? 255 : rng() % 256);
        for (std::int32_t i = 0; i < n; ++i) *image.At(x + i, y) = repeated ? v : static_cast<Coverage>(rng());
        x += n;
      }
    }
    RLEMask packed(bounds, image);
    for (int request = 0; request < 200; ++request) {
      const std::int32_t y = bounds.y - 1 + static_cast<std::int32_t>(rng() % 8);
      const std::int32_t x = bounds.x - 600 + static_cast<std::int32_t>(rng() % (bounds.width + 1200));
      const std::int32_t count = 1 + static_cast<std::int32_t>(rng() % kMaxSpan);
      const auto values = Expand(Collect<Coverage>(packed, x, y, count));
      for (std::int32_t i = 0; i < count; ++i) {
        const bool inside = y >= bounds.y && y < bounds.GetBottom() && x + i >= bounds.x && x + i < bounds.GetRight();
        ASSERT_EQ(values[i], inside ? *image.At(x + i, y) : 0) << "trial " << trial << " request " << request;
      }
    }
  }
}

}  // namespace
}  // namespace QorRaster
