#include <gtest/gtest.h>

#include <vector>

#include "raster/clip.h"
#include "raster/filter.h"
#include "raster/image.h"
#include "raster/run_optimized.h"
#include "raster/solid.h"
#include "raster/table.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Expand;
using Testing::Literal;
using Testing::Repeated;
using Testing::ScriptedSource;

TEST(SolidTest, OpaqueFlagFollowsTheValue) {
  SolidPaint nearlyOpaque(0xFE000000);
  SolidPaint translucent(0xFD000000);
  SolidMask full(255);
  SolidMask partial(254);
  EXPECT_EQ(Collect<Pixel>(nearlyOpaque, 3, 4, 512), (std::vector{Repeated<Pixel>(512, 0xFE000000, kRunOpaque)}));
  EXPECT_EQ(Collect<Pixel>(translucent, -3, 4, 7), (std::vector{Repeated<Pixel>(7, 0xFD000000)}));
  EXPECT_EQ(Collect<Coverage>(full, 0, 0, 1), (std::vector{Repeated<Coverage>(1, 255, kRunOpaque)}));
  EXPECT_EQ(Collect<Coverage>(partial, 0, 0, 9), (std::vector{Repeated<Coverage>(9, 254)}));
  EXPECT_EQ(full.GetBounds(), WholePlaneRect);
}

TEST(SolidTest, SolidRectCoversOnlyItsRectangle) {
  SolidRectPaint paint(0xFF102030, IntRect(10, 5, 4, 2));
  EXPECT_EQ(paint.GetBounds(), IntRect(10, 5, 4, 2));
  EXPECT_EQ(Collect<Pixel>(paint, 0, 4, 20), (std::vector{Repeated<Pixel>(20, 0)}));
  EXPECT_EQ(Collect<Pixel>(paint, 0, 7, 20), (std::vector{Repeated<Pixel>(20, 0)}));
  EXPECT_EQ(Collect<Pixel>(paint, 8, 6, 10), (std::vector{Repeated<Pixel>(2, 0), Repeated<Pixel>(4, 0xFF102030, kRunOpaque),
                                                           Repeated<Pixel>(4, 0)}));
  EXPECT_EQ(Collect<Pixel>(paint, 12, 5, 2), (std::vector{Repeated<Pixel>(2, 0xFF102030, kRunOpaque)}));
  EXPECT_EQ(Collect<Pixel>(paint, 14, 5, 3), (std::vector{Repeated<Pixel>(3, 0)}));
}

TEST(ClippedTest, AsksTheSourceOnlyForTheColumnsInside) {
  ScriptedSource<Pixel> outside({});
  ClippedPaint missed(&outside, IntRect(100, 0, 10, 10));
  EXPECT_EQ(Collect<Pixel>(missed, 0, 5, 50), (std::vector{Repeated<Pixel>(50, 0)}));
  EXPECT_EQ(Collect<Pixel>(missed, 105, 10, 3), (std::vector{Repeated<Pixel>(3, 0)}));
  EXPECT_EQ(outside.fRenderCalls, 0);

  MaskImage image(IntRect(0, 0, 20, 1));
  for (std::int32_t x = 0; x < 20; ++x) *image.At(x, 0) = static_cast<Coverage>(x + 1);
  ClippedMask clipped(&image, IntRect(5, -3, 4, 10));
  EXPECT_EQ(clipped.GetBounds(), IntRect(5, 0, 4, 1));
  EXPECT_EQ(Collect<Coverage>(clipped, 3, 0, 10),
            (std::vector{Repeated<Coverage>(2, 0), Literal<Coverage>({6, 7, 8, 9}), Repeated<Coverage>(4, 0)}));
}

TEST(OffsetTest, MovesTheSourceByWholePixels) {
  Image image(IntRect(0, 0, 3, 1));
  *image.At(0, 0) = 1;
  *image.At(1, 0) = 2;
  *image.At(2, 0) = 3;
  OffsetPaint moved(&image, 10, -4);
  EXPECT_EQ(moved.GetBounds(), IntRect(10, -4, 3, 1));
  EXPECT_EQ(Collect<Pixel>(moved, 9, -4, 5), (std::vector{Repeated<Pixel>(1, 0), Literal<Pixel>({1, 2, 3}), Repeated<Pixel>(1, 0)}));
  EXPECT_EQ(Collect<Pixel>(moved, 9, 0, 5), (std::vector{Repeated<Pixel>(5, 0)}));
}

TEST(FilterTest, InvertedSourcesComplementAndClearTheOpaqueFlag) {
  SolidMask full(255);
  InvertedMask none(&full);
  EXPECT_EQ(Collect<Coverage>(none, 0, 0, 300), (std::vector{Repeated<Coverage>(300, 0)}));
  ScriptedSource<Coverage> literalFull({Literal<Coverage>({255, 255}, kRunOpaque), Literal<Coverage>({0, 10})});
  InvertedMask inverted(&literalFull);
  EXPECT_EQ(Collect<Coverage>(inverted, 0, 0, 4), (std::vector{Literal<Coverage>({0, 0}), Literal<Coverage>({255, 245})}));
  EXPECT_EQ(inverted.GetBounds(), WholePlaneRect);

  ScriptedSource<Pixel> pixels({Repeated<Pixel>(2, 0x01FFFFFF), Literal<Pixel>({0xFF000000, 0x12345678}, kRunOpaque)},
                               WholePlaneRect, /*pointIntoOwnMemory=*/true);
  InvertedPaint paint(&pixels);
  EXPECT_EQ(Collect<Pixel>(paint, 0, 0, 4),
            (std::vector{Repeated<Pixel>(2, 0xFE000000, kRunOpaque), Literal<Pixel>({0x00FFFFFF, 0xEDCBA987})}));
}

TEST(FilterTest, LookupTakesTheTableFlagForLiteralsAndTheResultForRepeats) {
  const GammaTable gamma(2.0);
  ScriptedSource<Coverage> source({Literal<Coverage>({255, 255, 64}, kRunOpaque), Repeated<Coverage>(2, 64),
                                   Repeated<Coverage>(3, 255, kRunOpaque)});
  LookupMask lookup(&source, &gamma);
  // A gamma table never marks literal runs full; a repeated value of 255 is full by its value.
  EXPECT_EQ(Collect<Coverage>(lookup, 0, 0, 8),
            (std::vector{Literal<Coverage>({255, 255, 128}), Repeated<Coverage>(2, 128), Repeated<Coverage>(3, 255, kRunOpaque)}));

  MaskTable allFull;
  const MaskStop stops[] = {{0.0, 255}, {1.0, 255}};
  allFull.Build(stops);
  ScriptedSource<Coverage> partial({Literal<Coverage>({1, 2})});
  LookupMask full(&partial, &allFull);
  EXPECT_EQ(Collect<Coverage>(full, 0, 0, 2), (std::vector{Literal<Coverage>({255, 255}, kRunOpaque)}));
}

TEST(FilterTest, LookupAndPaletteBoundsDependOnEntryZero) {
  ScriptedSource<Coverage> source({}, IntRect(1, 2, 3, 4));
  const GammaTable gamma(1.0);
  EXPECT_EQ(LookupMask(&source, &gamma).GetBounds(), IntRect(1, 2, 3, 4));
  MaskTable raised;
  const MaskStop stops[] = {{0.0, 10}, {1.0, 255}};
  raised.Build(stops);
  EXPECT_EQ(LookupMask(&source, &raised).GetBounds(), WholePlaneRect);

  Palette palette;
  const PaletteStop clear[] = {{0.0, 0}, {1.0, 0xFFFFFFFF}};
  palette.Build(clear);
  EXPECT_EQ(PalettePaint(&source, &palette).GetBounds(), IntRect(1, 2, 3, 4));
  const PaletteStop black[] = {{0.0, 0xFF000000}};
  palette.Build(black);
  EXPECT_EQ(PalettePaint(&source, &palette).GetBounds(), WholePlaneRect);
  EXPECT_EQ(MaskPaint(&source).GetBounds(), IntRect(1, 2, 3, 4));
}

TEST(FilterTest, MaskToPaintFiltersConvertEveryRunKind) {
  Palette palette;
  const PaletteStop stops[] = {{0.0, 0xFF000000}, {1.0, 0xFFFFFFFF}};
  palette.Build(stops);
  ASSERT_TRUE(palette.fFlag);
  ScriptedSource<Coverage> source({Repeated<Coverage>(3, 0), Literal<Coverage>({255, 0, 7}), Repeated<Coverage>(1, 255, kRunOpaque)});
  PalettePaint gradient(&source, &palette);
  EXPECT_EQ(Collect<Pixel>(gradient, 0, 0, 7),
            (std::vector{Repeated<Pixel>(3, palette.fEntries[0], kRunOpaque),
                         Literal<Pixel>({palette.fEntries[255], palette.fEntries[0], palette.fEntries[7]}, kRunOpaque),
                         Repeated<Pixel>(1, 0xFFFFFFFF, kRunOpaque)}));
  MaskPaint white(&source);
  EXPECT_EQ(Collect<Pixel>(white, 0, 0, 7),
            (std::vector{Repeated<Pixel>(3, 0), Literal<Pixel>({0xFFFFFFFF, 0, 0x07070707}),
                         Repeated<Pixel>(1, 0xFFFFFFFF, kRunOpaque)}));
  ScriptedSource<Coverage> fullLiteral({Literal<Coverage>({255, 255}, kRunOpaque)});
  MaskPaint opaqueWhite(&fullLiteral);
  EXPECT_EQ(Collect<Pixel>(opaqueWhite, 0, 0, 2), (std::vector{Literal<Pixel>({0xFFFFFFFF, 0xFFFFFFFF}, kRunOpaque)}));
}

template <typename Value>
std::vector<Testing::RunRecord<Value>> Optimize(std::vector<Value> values, std::uint32_t flags = 0) {
  const auto count = static_cast<std::int32_t>(values.size());
  ScriptedSource<Value> source({Literal<Value>(std::move(values), flags)});
  RunOptimizedSource<Value> optimized(&source);
  auto runs = Collect<Value>(optimized, 0, 0, count);
  return runs;
}

TEST(RunOptimizedTest, FourOrMoreEqualValuesBecomeRepeatedRuns) {
  EXPECT_EQ(Optimize<Pixel>({1, 2, 7, 7, 7, 7, 3}),
            (std::vector{Literal<Pixel>({1, 2}), Repeated<Pixel>(4, 7), Literal<Pixel>({3})}));
  EXPECT_EQ(Optimize<Pixel>({5, 5, 5}), (std::vector{Literal<Pixel>({5, 5, 5})}));
  EXPECT_EQ(Optimize<Pixel>({9, 5, 5, 5}), (std::vector{Literal<Pixel>({9, 5, 5, 5})}));
  EXPECT_EQ(Optimize<Pixel>({0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 4}),
            (std::vector{Repeated<Pixel>(5, 0xFF00FF00, kRunOpaque), Literal<Pixel>({4})}));
  EXPECT_EQ(Optimize<Coverage>({3, 255, 255, 255, 255, 255, 255, 0, 0, 0, 0}),
            (std::vector{Literal<Coverage>({3}), Repeated<Coverage>(6, 255, kRunOpaque), Repeated<Coverage>(4, 0)}));
}

TEST(RunOptimizedTest, OpaqueStretchesOfPaintsCarryTheOpaqueFlag) {
  std::vector<Pixel> different;
  for (Pixel i = 0; i < 10; ++i) different.push_back(0xFF000000 + i);
  EXPECT_EQ(Optimize<Pixel>(different, kRunOpaque), (std::vector{Literal<Pixel>(different, kRunOpaque)}));
  EXPECT_EQ(Optimize<Pixel>(different), (std::vector{Literal<Pixel>(different, kRunOpaque)}));
  // An opaque stretch inside translucent values, with equal values inside it.
  EXPECT_EQ(Optimize<Pixel>({1, 0xFE000001, 0xFF000002, 0xFF000003, 0xFF000003, 0xFF000003, 0xFF000003, 0xFF000004, 2, 3}),
            (std::vector{Literal<Pixel>({1}), Literal<Pixel>({0xFE000001, 0xFF000002}, kRunOpaque),
                         Repeated<Pixel>(4, 0xFF000003, kRunOpaque), Literal<Pixel>({0xFF000004}, kRunOpaque),
                         Literal<Pixel>({2, 3})}));
  // Three opaque values do not start an opaque stretch; masks have no such stretches.
  EXPECT_EQ(Optimize<Pixel>({0xFF000001, 0xFF000002, 0xFF000003, 7, 8}),
            (std::vector{Literal<Pixel>({0xFF000001, 0xFF000002, 0xFF000003, 7, 8})}));
  EXPECT_EQ(Optimize<Coverage>({255, 254, 255, 253, 255}), (std::vector{Literal<Coverage>({255, 254, 255, 253, 255})}));
}

TEST(RunOptimizedTest, ARunDeclaredOpaqueIsCoveredCompletelyEvenWhenItsValuesAreNot) {
  EXPECT_EQ(Optimize<Pixel>({0x10, 0x20, 0x20, 0x20, 0x20, 0x30}, kRunOpaque),
            (std::vector{Literal<Pixel>({0x10}, kRunOpaque), Repeated<Pixel>(4, 0x20, kRunOpaque),
                         Literal<Pixel>({0x30}, kRunOpaque)}));
}

TEST(RunOptimizedTest, RepeatedRunsPassUnchangedAndBoundsFollowTheSource) {
  ScriptedSource<Coverage> source({Repeated<Coverage>(2, 9), Literal<Coverage>({4, 4, 4, 4}), Repeated<Coverage>(1, 255, kRunOpaque)},
                                  IntRect(0, 0, 7, 1));
  RunOptimizedMask optimized(&source);
  EXPECT_EQ(optimized.GetBounds(), IntRect(0, 0, 7, 1));
  EXPECT_EQ(Collect<Coverage>(optimized, 0, 0, 7),
            (std::vector{Repeated<Coverage>(2, 9), Repeated<Coverage>(4, 4), Repeated<Coverage>(1, 255, kRunOpaque)}));
}

}  // namespace
}  // namespace QorRaster
