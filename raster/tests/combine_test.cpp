#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "raster/combine.h"
#include "raster/image.h"
#include "raster/run_optimized.h"
#include "raster/solid.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Expand;
using Testing::Literal;
using Testing::Repeated;
using Testing::ScriptedSource;
using Testing::SegmentSource;

Pixel OverFormula(Pixel bottom, Pixel top) { return top + bottom - ScalePixel(bottom, top >> 24); }

Pixel AddFormula(Pixel f, Pixel s) {
  Pixel r = 0;
  for (int k = 0; k < 32; k += 8) r |= std::min<Pixel>(((f >> k) & 255) + ((s >> k) & 255), 255) << k;
  return r;
}

Pixel MultiplyFormula(Pixel f, Pixel s) {
  Pixel r = 0;
  for (int k = 0; k < 32; k += 8) {
    const Pixel sc = (s >> k) & 255;
    r |= (((sc ? sc + 1 : 0) * ((f >> k) & 255)) >> 8) << k;
  }
  return r;
}

TEST(OverPaintTest, OpaqueTopHidesTheBottomWithoutRenderingIt) {
  ScriptedSource<Pixel> bottom({});
  SolidPaint top(0xFF0000FF);
  OverPaint over(&bottom, &top);
  EXPECT_EQ(Collect<Pixel>(over, 0, 0, 300), (std::vector{Repeated<Pixel>(300, 0xFF0000FF, kRunOpaque)}));
  EXPECT_EQ(bottom.fRenderCalls, 0);
}

TEST(OverPaintTest, HalfTransparentBlackOverWhite) {
  SolidPaint white(0xFFFFFFFF);
  SolidPaint black(0x80000000);
  OverPaint over(&white, &black);
  EXPECT_EQ(Collect<Pixel>(over, 0, 0, 10), (std::vector{Repeated<Pixel>(10, 0xFF7F7F7F, kRunOpaque)}));
  EXPECT_EQ(OverFormula(0xFFFFFFFF, 0x80000000), 0xFF7F7F7Fu);
}

TEST(OverPaintTest, TransparentTopPassesTheBottomRunForRun) {
  const std::vector bottomRuns{Literal<Pixel>({1, 2, 3}), Repeated<Pixel>(5, 0xFF00FF00, kRunOpaque), Literal<Pixel>({4, 5})};
  ScriptedSource<Pixel> bottom(bottomRuns, WholePlaneRect, /*pointIntoOwnMemory=*/true);
  ScriptedSource<Pixel> top({Repeated<Pixel>(10, 0)});
  OverPaint over(&bottom, &top);
  EXPECT_EQ(Collect<Pixel>(over, 0, 0, 10), bottomRuns);
}

TEST(OverPaintTest, StoredBoundsDecideWhichSourceRenders) {
  ScriptedSource<Pixel> bottom({Repeated<Pixel>(10, 7)}, IntRect(0, 0, 10, 10));
  ScriptedSource<Pixel> top({Repeated<Pixel>(10, 9)}, IntRect(100, 0, 10, 10));
  OverPaint over(&bottom, &top);
  EXPECT_EQ(over.GetBounds(), IntRect(0, 0, 110, 10));
  EXPECT_EQ(Collect<Pixel>(over, 0, 20, 10), (std::vector{Repeated<Pixel>(10, 0)}));
  EXPECT_EQ(Collect<Pixel>(over, 0, 0, 10), (std::vector{Repeated<Pixel>(10, 7)}));
  EXPECT_EQ(Collect<Pixel>(over, 100, 0, 10), (std::vector{Repeated<Pixel>(10, 9)}));
  EXPECT_EQ(bottom.fRenderCalls, 1);
  EXPECT_EQ(top.fRenderCalls, 1);
}

TEST(OverPaintTest, OpaqueEndsAreCopiedAndTheBottomRendersOnlyInBetween) {
  SegmentSource<Pixel> bottom({{true, false, std::vector<Pixel>(20, 0x40404040)}});
  SegmentSource<Pixel> top({{false, true, {0xFF000001, 0xFF000002}},
                            {true, true, std::vector<Pixel>(3, 0xFF000003)},
                            {true, false, std::vector<Pixel>(4, 0x80000000)},
                            {false, false, {0, 0x10101010}},
                            {true, true, std::vector<Pixel>(11, 0xFF0000FF)}});
  OverPaint over(&bottom, &top);
  const auto runs = Collect<Pixel>(over, 0, 0, 20);
  EXPECT_EQ(runs, (std::vector{Literal<Pixel>({0xFF000001, 0xFF000002}, kRunOpaque),
                               Repeated<Pixel>(3, 0xFF000003, kRunOpaque),
                               Repeated<Pixel>(4, OverFormula(0x40404040, 0x80000000)),
                               Literal<Pixel>({0x40404040, OverFormula(0x40404040, 0x10101010)}),
                               Repeated<Pixel>(9, 0xFF0000FF, kRunOpaque)}));
  ASSERT_EQ(bottom.fCalls.size(), 1u);
  EXPECT_EQ(bottom.fCalls[0], std::make_pair(5, 6));
}

TEST(MaskedPaintTest, FullMaskPassesThePaintAndZeroMaskClearsIt) {
  const std::vector paintRuns{Literal<Pixel>({1, 2}), Repeated<Pixel>(3, 0xFF123456, kRunOpaque)};
  ScriptedSource<Pixel> paint(paintRuns, WholePlaneRect, /*pointIntoOwnMemory=*/true);
  SolidMask full(255);
  SolidMask none(0);
  MaskedPaint masked(&paint, &full);
  EXPECT_EQ(Collect<Pixel>(masked, 0, 0, 5), paintRuns);
  MaskedPaint cleared(&paint, &none);
  EXPECT_EQ(Collect<Pixel>(cleared, 0, 0, 5), (std::vector{Repeated<Pixel>(5, 0)}));
  EXPECT_EQ(paint.fRenderCalls, 1);
}

TEST(MaskedPaintTest, ZeroCoverageAtTheEndsMergesIntoOneRunAndSplitsShareTheirValue) {
  SegmentSource<Pixel> paint({{true, true, std::vector<Pixel>(309, 0xFF808080)}});
  SegmentSource<Coverage> mask({{true, false, std::vector<Coverage>(2, 0)},
                                {true, false, std::vector<Coverage>(3, 0)},
                                {true, false, std::vector<Coverage>(100, 128)},
                                {true, false, std::vector<Coverage>(200, 64)},
                                {true, false, std::vector<Coverage>(4, 0)}});
  MaskedPaint masked(&paint, &mask);
  EXPECT_EQ(Collect<Pixel>(masked, 0, 0, 309),
            (std::vector{Repeated<Pixel>(5, 0), Repeated<Pixel>(100, ScalePixel(0xFF808080, 128)),
                         Repeated<Pixel>(200, ScalePixel(0xFF808080, 64)), Repeated<Pixel>(4, 0)}));
  EXPECT_EQ(paint.fCalls, (std::vector{std::make_pair(5, 300)}));
}

TEST(AddTest, SaturatingSumsAndFullEndsMerge) {
  SolidMask a(200);
  SolidMask b(100);
  AddMask mask(&a, &b);
  EXPECT_EQ(Collect<Coverage>(mask, 0, 0, 4), (std::vector{Repeated<Coverage>(4, 255, kRunOpaque)}));
  SolidPaint p(0x80808080);
  SolidPaint q(0x80808080);
  AddPaint paint(&p, &q);
  EXPECT_EQ(Collect<Pixel>(paint, 0, 0, 4), (std::vector{Repeated<Pixel>(4, 0xFFFFFFFF, kRunOpaque)}));

  SegmentSource<Coverage> first({{false, false, {1, 2, 3, 4, 5, 6}}});
  SegmentSource<Coverage> second({{true, true, {255, 255}}, {true, true, {255}}, {false, false, {0, 250}}, {true, true, {255}}});
  AddMask merged(&first, &second);
  EXPECT_EQ(Collect<Coverage>(merged, 0, 0, 6),
            (std::vector{Repeated<Coverage>(3, 255, kRunOpaque), Literal<Coverage>({4, 255}), Repeated<Coverage>(1, 255, kRunOpaque)}));
  EXPECT_EQ(first.fCalls, (std::vector{std::make_pair(3, 2)}));
}

TEST(MultiplyPaintTest, WhiteKeepsThePixelAndChannelsMultiply) {
  ScriptedSource<Pixel> pixels({Literal<Pixel>({0x80402010, 0xFFFFFFFF, 0})}, WholePlaneRect, true);
  SolidPaint white(0xFFFFFFFF);
  MultiplyPaint keep(&pixels, &white);
  EXPECT_EQ(Expand(Collect<Pixel>(keep, 0, 0, 3)), (std::vector<Pixel>{0x80402010, 0xFFFFFFFF, 0}));
  SolidPaint factor(0x80FF0040);
  MultiplyPaint product(&pixels, &factor);
  EXPECT_EQ(Expand(Collect<Pixel>(product, 0, 0, 3)),
            (std::vector<Pixel>{0x40400004, 0x80FF0040, 0}));
  EXPECT_EQ(product.GetBounds(), WholePlaneRect);
}

// Random premultiplied values: often zero or full, never alpha 0xFE (where an opaque flag and
// the compositing formula may differ by design).
template <typename Value>
Value RandomValue(std::mt19937& rng) {
  const auto kind = rng() % 4;
  if constexpr (std::is_same_v<Value, Coverage>) {
    return kind == 0 ? 0 : kind == 1 ? 255 : static_cast<Coverage>(rng() % 255);
  } else {
    const Pixel alpha = kind == 0 ? 0 : kind == 1 ? 0xFF : 1 + rng() % 0xFC;
    Pixel p = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) p |= (rng() % (alpha + 1)) << shift;
    return p;
  }
}

template <typename Value>
SegmentSource<Value> RandomSource(std::mt19937& rng, std::int32_t width, bool ownMemory) {
  std::vector<typename SegmentSource<Value>::Segment> segments;
  for (std::int32_t w = 0; w < width;) {
    const std::int32_t n = std::min<std::int32_t>(width - w, 1 + static_cast<std::int32_t>(rng() % 40));
    typename SegmentSource<Value>::Segment s{rng() % 2 == 0, false, {}};
    const Value v = RandomValue<Value>(rng);
    for (std::int32_t i = 0; i < n; ++i) s.values.push_back(s.repeated || rng() % 3 == 0 ? v : RandomValue<Value>(rng));
    const bool allOpaque = std::all_of(s.values.begin(), s.values.end(), ValueKind<Value>::IsOpaque);
    s.opaque = allOpaque && rng() % 4 != 0;
    segments.push_back(std::move(s));
    w += n;
  }
  return SegmentSource<Value>(std::move(segments), ownMemory);
}

template <typename Combined, typename First, typename Second>
void CheckAgainstFormula(std::function<First(First, Second)> formula) {
  std::mt19937 rng(1234);
  for (int trial = 0; trial < 400; ++trial) {
    auto first = RandomSource<First>(rng, 700, trial % 2 == 0);
    auto second = RandomSource<Second>(rng, 700, trial % 3 == 0);
    Combined combined(&first, &second);
    const std::int32_t x = static_cast<std::int32_t>(rng() % 200) - 20;
    const std::int32_t count = 1 + static_cast<std::int32_t>(rng() % kMaxSpan);
    const auto values = Expand(Collect<First>(combined, x, 3, count));
    ASSERT_EQ(values.size(), static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      ASSERT_EQ(values[i], formula(first.At(x + i), second.At(x + i))) << "trial " << trial << " column " << x + i;
    }
    EXPECT_LE(first.fCalls.size(), 1u);
  }
}

TEST(CombineFormulaTest, EveryRuleMatchesItsPerValueFormula) {
  CheckAgainstFormula<OverPaint, Pixel, Pixel>(OverFormula);
  CheckAgainstFormula<OverMask, Coverage, Coverage>([](Coverage f, Coverage s) { return std::min(f + s, 255); });
  CheckAgainstFormula<AddMask, Coverage, Coverage>([](Coverage f, Coverage s) { return std::min(f + s, 255); });
  CheckAgainstFormula<AddPaint, Pixel, Pixel>(AddFormula);
  CheckAgainstFormula<MultiplyPaint, Pixel, Pixel>(MultiplyFormula);
  CheckAgainstFormula<MaskedPaint, Pixel, Coverage>([](Pixel f, Coverage s) { return ScalePixel(f, s); });
  CheckAgainstFormula<MaskedMask, Coverage, Coverage>([](Coverage f, Coverage s) {
    return static_cast<Coverage>(((s ? s + 1 : 0) * f) >> 8);
  });
}

// Draws one tree of every combination into an image, with every leaf either as it is or
// re-encoded into runs; both must give the same pixels, and those of the formulas.
struct Tree {
  explicit Tree(std::uint32_t seed) : rng(seed) {}
  std::mt19937 rng;
  SegmentSource<Pixel> a = RandomSource<Pixel>(rng, 600, true), b = RandomSource<Pixel>(rng, 600, false),
                       c = RandomSource<Pixel>(rng, 600, true);
  SegmentSource<Coverage> m1 = RandomSource<Coverage>(rng, 600, false), m2 = RandomSource<Coverage>(rng, 600, true),
                          m3 = RandomSource<Coverage>(rng, 600, false);

  // Both rows of the image, one after the other.
  std::vector<Pixel> Draw(bool optimize) {
    RunOptimizedPaint oa(&a), ob(&b), oc(&c);
    RunOptimizedMask om1(&m1), om2(&m2), om3(&m3);
    Paint* pa = optimize ? static_cast<Paint*>(&oa) : &a;
    Paint* pb = optimize ? static_cast<Paint*>(&ob) : &b;
    Paint* pc = optimize ? static_cast<Paint*>(&oc) : &c;
    Mask* q1 = optimize ? static_cast<Mask*>(&om1) : &m1;
    Mask* q2 = optimize ? static_cast<Mask*>(&om2) : &m2;
    Mask* q3 = optimize ? static_cast<Mask*>(&om3) : &m3;
    MultiplyPaint product(pb, pc);
    AddPaint sum(pa, &product);
    MaskedMask maskedMask(q2, q3);
    AddMask coverage(q1, &maskedMask);
    MaskedPaint top(&sum, &coverage);
    Image image(IntRect(-10, 0, 600, 2));
    for (std::int32_t x = -10; x < 590; ++x) *image.At(x, 0) = *image.At(x, 1) = RandomValue<Pixel>(background);
    image.Draw(top);
    return std::vector<Pixel>(image.At(-10, 0), image.At(-10, 0) + 1200);
  }
  std::mt19937 background{99};
};

TEST(CombineTreeTest, RunReencodingDoesNotChangeThePixels) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    Tree plain(seed);
    Tree optimized(seed);
    const std::vector<Pixel> p = plain.Draw(false);
    const std::vector<Pixel> o = optimized.Draw(true);
    std::mt19937 background(99);
    for (std::int32_t x = -10; x < 590; ++x) {
      const Pixel under = RandomValue<Pixel>(background);
      const Pixel sum = AddFormula(plain.a.At(x), MultiplyFormula(plain.b.At(x), plain.c.At(x)));
      const int cover = std::min(plain.m1.At(x) + ScaleCoverage(plain.m2.At(x), plain.m3.At(x)), 255);
      const Pixel expected = OverFormula(under, ScalePixel(sum, static_cast<std::uint32_t>(cover)));
      for (std::int32_t y = 0; y < 2; ++y) {
        const std::size_t at = static_cast<std::size_t>(y * 600 + x + 10);
        ASSERT_EQ(p[at], expected) << "seed " << seed << " column " << x;
        ASSERT_EQ(o[at], expected) << "seed " << seed << " column " << x << " (re-encoded)";
      }
    }
  }
}

TEST(ImageDrawTest, DrawAndAddWorkWhereBothBoundsMeet) {
  Image image(IntRect(0, 0, 4, 1));
  for (std::int32_t x = 0; x < 4; ++x) *image.At(x, 0) = 0xFF808080;
  SolidRectPaint away(0xFF0000FF, IntRect(10, 0, 5, 5));
  image.Draw(away);
  EXPECT_EQ(std::vector<Pixel>(image.At(0, 0), image.At(0, 0) + 4), std::vector<Pixel>(4, 0xFF808080));
  SolidRectPaint grey(0xFF808080, IntRect(1, -5, 2, 10));
  image.Add(grey);
  EXPECT_EQ(std::vector<Pixel>(image.At(0, 0), image.At(0, 0) + 4),
            (std::vector<Pixel>{0xFF808080, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF808080}));
  SolidRectPaint half(0x80000000, IntRect(3, 0, 1, 1));
  image.Draw(half);
  EXPECT_EQ(*image.At(3, 0), OverFormula(0xFF808080, 0x80000000));
  EXPECT_EQ(*image.At(2, 0), 0xFFFFFFFF);

  MaskImage mask(IntRect(0, 0, 3, 1));
  *mask.At(0, 0) = 200;
  *mask.At(1, 0) = 50;
  SolidMask hundred(100);
  mask.Draw(hundred);
  EXPECT_EQ(std::vector<Coverage>(mask.At(0, 0), mask.At(0, 0) + 3), (std::vector<Coverage>{255, 150, 100}));
}

// Drawing and adding write the combination straight into the image's rows, over its own values.
// Random runs (opaque, transparent and full ones among them) over two segments per row must give
// every pixel of its formula.
TEST(ImageDrawTest, DrawingAndAddingInPlaceMatchTheFormulas) {
  std::mt19937 rng(77);
  for (int trial = 0; trial < 60; ++trial) {
    auto top = RandomSource<Pixel>(rng, 700, trial % 2 == 0);
    auto topCoverage = RandomSource<Coverage>(rng, 700, trial % 3 == 0);
    Image image(IntRect(0, 0, 700, 1));
    MaskImage mask(IntRect(0, 0, 700, 1));
    std::vector<Pixel> under(700);
    std::vector<Coverage> underCoverage(700);
    for (std::int32_t x = 0; x < 700; ++x) {
      under[x] = *image.At(x, 0) = RandomValue<Pixel>(rng);
      underCoverage[x] = *mask.At(x, 0) = RandomValue<Coverage>(rng);
    }
    const bool add = trial % 4 >= 2;
    if (add) {
      image.Add(top);
    } else {
      image.Draw(top);
    }
    mask.Draw(topCoverage);
    for (std::int32_t x = 0; x < 700; ++x) {
      ASSERT_EQ(*image.At(x, 0), add ? AddFormula(under[x], top.At(x)) : OverFormula(under[x], top.At(x)))
          << "trial " << trial << " column " << x;
      ASSERT_EQ(*mask.At(x, 0), std::min(underCoverage[x] + topCoverage.At(x), 255)) << "trial " << trial << " column " << x;
    }
  }
}

}  // namespace
}  // namespace QorRaster
