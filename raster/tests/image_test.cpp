#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "raster/image.h"
#include "raster/solid.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Literal;
using Testing::Repeated;
using Testing::ScriptedSource;

// Literal values that encode their coordinates, written into the caller's storage, with the
// first value of every segment as a repeated run so that both kinds of run reach the driver.
class CoordinatePaint : public Paint {
 public:
  static Pixel ValueAt(std::int32_t x, std::int32_t y) { return static_cast<Pixel>(x * 3 + y * 100000 + 7); }
  IntRect GetBounds() const override { return WholePlaneRect; }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, PaintSpanList& list) override {
    ++fCalls;
    list.AppendRepeated(1, ValueAt(x, y), 0);
    if (count > 1) {
      Pixel* values = list.fStorageCursor;
      for (std::int32_t i = 1; i < count; ++i) values[i - 1] = ValueAt(x + i, y);
      list.AppendLiteral(count - 1, values, false);
    }
  }
  int fCalls = 0;
};

TEST(ImageTest, OwnedImageIsZeroFilledAndAddressedByAbsoluteCoordinates) {
  Image image(IntRect(-3, 5, 4, 2));
  EXPECT_EQ(image.GetBounds(), IntRect(-3, 5, 4, 2));
  EXPECT_EQ(image.GetStride(), 4);
  EXPECT_FALSE(image.IsOpaque());
  EXPECT_EQ(image.At(0, 6) - image.At(-3, 5), 4 + 3);
  for (std::int32_t y = 5; y < 7; ++y) {
    for (std::int32_t x = -3; x < 1; ++x) EXPECT_EQ(*image.At(x, y), 0u);
  }
}

TEST(ImageTest, NonPositiveSidesGiveAnEmptyImage) {
  for (const IntRect r : {IntRect(4, 4, 0, 10), IntRect(4, 4, 10, -1), IntRect(0, 0, -5, -5)}) {
    MaskImage image(r);
    EXPECT_TRUE(image.GetBounds().IsEmpty());
    EXPECT_EQ(Collect<Coverage>(image, 4, 4, 12), (std::vector{Repeated<Coverage>(12, 0)}));
  }
}

TEST(ImageTest, RowsAndColumnsPastTheCoordinateRangeAreCutOff) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  Image image(IntRect(kMax - 600, kMax - 3, 1000, 10));
  EXPECT_EQ(image.GetBounds(), IntRect(kMax - 600, kMax - 3, 600, 3));
  EXPECT_EQ(image.GetStride(), 600);
  SolidPaint grey(0xFF808080);
  image.Render(grey);
  EXPECT_EQ(std::vector<Pixel>(image.At(kMax - 600, kMax - 3), image.At(kMax - 600, kMax - 3) + 1800),
            std::vector<Pixel>(1800, 0xFF808080));
  std::vector<Coverage> memory(4, 0);
  MaskImage corner(IntRect(kMax - 1, kMax - 1, 2, 2), memory.data(), 2, false);
  EXPECT_EQ(corner.GetBounds(), IntRect(kMax - 1, kMax - 1, 1, 1));
  SolidMask full(255);
  corner.Render(full);
  EXPECT_EQ(memory, (std::vector<Coverage>{255, 0, 0, 0}));
  EXPECT_TRUE(MaskImage(IntRect(kMax, 0, 5, 5)).GetBounds().IsEmpty());
}

TEST(ImageTest, RendersTransparentOutsideItsRowsAndThreeRunsAcrossIt) {
  Image image(IntRect(10, 20, 5, 3));
  Pixel v = 1;
  for (std::int32_t y = 20; y < 23; ++y) {
    for (std::int32_t x = 10; x < 15; ++x) *image.At(x, y) = v++;
  }
  EXPECT_EQ(Collect<Pixel>(image, 0, 19, 40), (std::vector{Repeated<Pixel>(40, 0)}));
  EXPECT_EQ(Collect<Pixel>(image, 0, 23, 40), (std::vector{Repeated<Pixel>(40, 0)}));
  EXPECT_EQ(Collect<Pixel>(image, 8, 21, 10),
            (std::vector{Repeated<Pixel>(2, 0), Literal<Pixel>({6, 7, 8, 9, 10}), Repeated<Pixel>(3, 0)}));
  // The literal run points into the image row itself.
  std::vector<QorRaster::Run<Pixel>> slots(kMaxSpan);
  std::vector<Pixel> storage(kMaxSpan);
  PaintSpanList list(slots.data(), storage.data());
  image.Render(12, 22, 2, list);
  EXPECT_EQ(slots[0].fPointer, image.At(12, 22));
  EXPECT_EQ(slots[0].fWord, 2u);
  // Partly covered segments, and the opaque declaration.
  image.SetOpaque(true);
  EXPECT_EQ(Collect<Pixel>(image, 13, 20, 5), (std::vector{Literal<Pixel>({4, 5}, kRunOpaque), Repeated<Pixel>(3, 0)}));
  EXPECT_EQ(Collect<Pixel>(image, 7, 20, 4), (std::vector{Repeated<Pixel>(3, 0), Literal<Pixel>({1}, kRunOpaque)}));
  EXPECT_EQ(Collect<Pixel>(image, 15, 20, 4), (std::vector{Repeated<Pixel>(4, 0)}));
}

TEST(ImageTest, RenderRectFillsEveryPixelInChunksOf512AndNothingElse) {
  Image image(IntRect(-100, 0, 1300, 4));
  CoordinatePaint paint;
  const IntRect rect(-90, 1, 1200, 2);
  image.RenderRect(paint, rect);
  EXPECT_EQ(paint.fCalls, 2 * 3);  // 512 + 512 + 176 per row
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = -100; x < 1200; ++x) {
      const bool inside = x >= -90 && x < 1110 && y >= 1 && y < 3;
      ASSERT_EQ(*image.At(x, y), inside ? CoordinatePaint::ValueAt(x, y) : 0u) << x << "," << y;
    }
  }
}

TEST(ImageTest, RenderCopiesLiteralsFromElsewhereAndFillsRepeatedRuns) {
  ScriptedSource<Pixel> source({Repeated<Pixel>(2, 0xFF00FF00, kRunOpaque), Literal<Pixel>({5, 6, 7}),
                                Repeated<Pixel>(1, 0x11)},
                               WholePlaneRect, /*pointIntoOwnMemory=*/true);
  Image image(IntRect(0, 0, 6, 2));
  image.Render(source);
  for (std::int32_t y = 0; y < 2; ++y) {
    const std::vector<Pixel> row(image.At(0, y), image.At(0, y) + 6);
    EXPECT_EQ(row, (std::vector<Pixel>{0xFF00FF00, 0xFF00FF00, 5, 6, 7, 0x11}));
  }
}

TEST(ImageTest, ImageOverForeignMemoryUsesItsStrideAndStaysInsideItsBounds) {
  // Three rows of 8 values, of which the image covers columns 2 to 5 of rows 1 and 2.
  std::vector<Coverage> memory(24, 0xEE);
  MaskImage image(IntRect(50, -7, 4, 2), memory.data() + 8 + 2, 8, true);
  EXPECT_TRUE(image.IsOpaque());
  EXPECT_EQ(image.At(50, -7), memory.data() + 10);
  EXPECT_EQ(image.At(53, -6), memory.data() + 21);
  ScriptedSource<Coverage> source({Repeated<Coverage>(4, 9)});
  image.RenderRect(source, IntRect(40, -20, 100, 100));  // clipped to the image
  std::vector<Coverage> expected(24, 0xEE);
  for (int i : {10, 11, 12, 13, 18, 19, 20, 21}) expected[i] = 9;
  EXPECT_EQ(memory, expected);
  EXPECT_EQ(Collect<Coverage>(image, 49, -6, 3),
            (std::vector{Repeated<Coverage>(1, 0), Literal<Coverage>({9, 9}, kRunOpaque)}));
}

TEST(ScaleTest, ScalingByAByteKeepsFullAndHalvesAtMidpoint) {
  EXPECT_EQ(ScalePixel(0xFE804020, 128), 0x7F402010u);
  EXPECT_EQ(ScalePixel(0xFFFFFFFF, 128), 0x80808080u);
  EXPECT_EQ(ScalePixel(0xDEADBEEF, 255), 0xDEADBEEFu);
  EXPECT_EQ(ScalePixel(0xDEADBEEF, 0), 0u);
  EXPECT_EQ(ScalePixel(0xFFFFFFFF, 1), 0x01010101u);
  EXPECT_EQ(ScaleCoverage(200, 128), 100);
  EXPECT_EQ(ScaleCoverage(255, 255), 255);
  EXPECT_EQ(ScaleCoverage(255, 0), 0);
}

}  // namespace
}  // namespace QorRaster
