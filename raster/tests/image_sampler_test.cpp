#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "raster/image.h"
#include "raster/image_sampler.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Expand;

Transform Make(double a, double b, double c, double d, double e, double f) {
  Transform t;
  t.Set(a, b, c, d, e, f);
  return t;
}

// A 4 x 4 coverage image whose value rises by 10 per column and 60 per row from 20.
struct Ramp : MaskImage {
  Ramp() : MaskImage(IntRect(0, 0, 4, 4)) {
    Fill(*this);
  }
  static void Fill(MaskImage& image) {
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) {
      *image.At(x, y) = static_cast<Coverage>(20 + 10 * x + 60 * y);
    }
  }
  }
};

template <typename Value>
Value Sample(TransformedSource<Value>& source, std::int32_t x, std::int32_t y) {
  return Expand(Collect<Value>(source, x, y, 1))[0];
}

TEST(ImageSamplerTest, IntegerTranslationPointsIntoTheImage) {
  const Ramp image;
  TransformedMask moved(image, false, Transform().Translate(10, 20), WholePlaneRect);
  EXPECT_EQ(moved.GetSampler().GetKind(), ImageSampler<Coverage>::kTranslation);
  const auto runs = Collect<Coverage>(moved, 10, 20, 6);
  ASSERT_GE(runs.size(), 2u);
  // The interior part of the row is a run straight into the image's first row.
  std::vector<QorRaster::Run<Coverage>> slots(kMaxSpan);
  std::vector<Coverage> storage(kMaxSpan);
  MaskSpanList list(slots.data(), storage.data());
  moved.Render(10, 20, 6, list);
  EXPECT_EQ(slots[0].fPointer, image.At(0, 0));
  EXPECT_EQ(slots[0].GetLength(), 3);
  EXPECT_EQ(Expand(runs), (std::vector<Coverage>{20, 30, 40, 50, 0, 0}));
  EXPECT_EQ(Expand(Collect<Coverage>(moved, 8, 23, 8)), (std::vector<Coverage>{0, 0, 200, 210, 220, 230, 0, 0}));
  EXPECT_EQ(Expand(Collect<Coverage>(moved, 8, 19, 8)), std::vector<Coverage>(8, 0));
}

TEST(ImageSamplerTest, IntegerMappingsPickTheNearestElements) {
  MaskImage image(IntRect(0, 0, 8, 2));
  for (std::int32_t x = 0; x < 8; ++x) {
    *image.At(x, 0) = static_cast<Coverage>(x + 1);
    *image.At(x, 1) = static_cast<Coverage>(100 + x);
  }
  // Shrunk to half: every second column.
  TransformedMask half(image, false, Transform().Scale(0.5, 1), WholePlaneRect);
  EXPECT_EQ(half.GetSampler().GetKind(), ImageSampler<Coverage>::kIntegerMapping);
  EXPECT_EQ(Expand(Collect<Coverage>(half, 0, 0, 4)), (std::vector<Coverage>{1, 3, 5, 7}));
  // Mirrored and moved: column x comes from 7 - x.
  TransformedMask mirrored(image, false, Transform().Scale(-1, 1).Translate(7, 0), WholePlaneRect);
  EXPECT_EQ(mirrored.GetSampler().GetKind(), ImageSampler<Coverage>::kIntegerMapping);
  EXPECT_EQ(Expand(Collect<Coverage>(mirrored, 0, 0, 8)), (std::vector<Coverage>{8, 7, 6, 5, 4, 3, 2, 1}));
  // A quarter turn: rows become columns.
  TransformedMask turned(image, false, Make(0, -1, 1, 1, 0, 0), WholePlaneRect);
  EXPECT_EQ(turned.GetSampler().GetKind(), ImageSampler<Coverage>::kIntegerMapping);
  EXPECT_EQ(Expand(Collect<Coverage>(turned, 0, 3, 2)), (std::vector<Coverage>{103, 4}));
}

TEST(ImageSamplerTest, StretchesInterpolateAcrossAndDown) {
  const Ramp image;
  // Twice as wide and as high: u = x / 2, v = y / 2.
  TransformedMask doubled(image, false, Transform().Scale(2, 2), WholePlaneRect);
  EXPECT_EQ(doubled.GetSampler().GetKind(), ImageSampler<Coverage>::kHorizontalStretch);
  // Source rectangle (-1, -1, 5, 5) scaled is (-2, -2, 10, 10), grown to (-3, -3, 13, 13).
  EXPECT_EQ(doubled.GetBounds(), IntRect(-3, -3, 13, 13));
  // Row 1 lies half-way between source rows 0 and 1: each column pair down first, then across.
  EXPECT_EQ(Expand(Collect<Coverage>(doubled, 0, 1, 6)), (std::vector<Coverage>{50, 55, 60, 65, 70, 75}));
  EXPECT_EQ(Expand(Collect<Coverage>(doubled, 0, 2, 6)), (std::vector<Coverage>{80, 85, 90, 95, 100, 105}));
  // The last column and row blend with transparency outside.
  EXPECT_EQ(Sample(doubled, 7, 0), Coverage{25});
  EXPECT_EQ(Sample(doubled, 7, 6), Coverage{115});
  EXPECT_EQ(Sample(doubled, -1, 0), Coverage{10});

  // Half a pixel right: interpolation across only.
  TransformedMask across(image, false, Transform().Translate(0.5, 0), WholePlaneRect);
  EXPECT_EQ(across.GetSampler().GetKind(), ImageSampler<Coverage>::kAcross);
  EXPECT_EQ(Expand(Collect<Coverage>(across, 0, 1, 5)), (std::vector<Coverage>{40, 85, 95, 105, 55}));
  TransformedMask down(image, false, Transform().Translate(0, 0.5), WholePlaneRect);
  EXPECT_EQ(down.GetSampler().GetKind(), ImageSampler<Coverage>::kDown);
  EXPECT_EQ(Expand(Collect<Coverage>(down, 0, 1, 4)), (std::vector<Coverage>{50, 60, 70, 80}));
  EXPECT_EQ(Expand(Collect<Coverage>(down, 0, 0, 4)), (std::vector<Coverage>{10, 15, 20, 25}));
}

TEST(ImageSamplerTest, BilinearSamplingInsideAndAtTheBorder) {
  const Ramp image;
  // u = (x - y) / 2 and v = (x + y) / 2: a rotation by 45 degrees, enlarged by sqrt(2).
  TransformedMask rotated(image, false, Make(1, 1, 0, -1, 1, 0), WholePlaneRect);
  EXPECT_EQ(rotated.GetSampler().GetKind(), ImageSampler<Coverage>::kBilinear);
  EXPECT_EQ(Sample(rotated, 3, 0), Coverage{125});  // (1.5, 1.5)
  EXPECT_EQ(Sample(rotated, 2, 1), Coverage{115});  // (0.5, 1.5)
  EXPECT_EQ(Sample(rotated, 4, 2), Coverage{210});  // (1, 3): last row, weights 0
  EXPECT_EQ(Sample(rotated, 0, 1), Coverage{25});   // (-0.5, 0.5): half outside
  EXPECT_EQ(Sample(rotated, 0, 3), Coverage{0});    // (-1.5, 1.5): outside
  EXPECT_EQ(Sample(rotated, 30, 0), Coverage{0});

  // Packed pixels interpolate every channel as the 8-bit formula does.
  Image pixels(IntRect(0, 0, 5, 5));
  std::mt19937 random(3);
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      const std::uint32_t a = random() % 256;
      Pixel p = a << 24;
      for (const int shift : {16, 8, 0}) {
        p |= (random() % (a + 1)) << shift;
      }
      *pixels.At(x, y) = p;
    }
  }
  const Transform t = Transform().Rotate(0.4).Scale(1.3, 0.9).Translate(2.2, -0.7);
  TransformedPaint paint(pixels, false, t, WholePlaneRect);
  ASSERT_EQ(paint.GetSampler().GetKind(), ImageSampler<Pixel>::kBilinear);
  Transform inverse = t;
  ASSERT_TRUE(inverse.Invert());
  for (std::int32_t y = -2; y < 9; ++y) {
    const std::vector<Pixel> row = Expand(Collect<Pixel>(paint, -3, y, 12));
    for (std::int32_t i = 0; i < 12; ++i) {
      const Point q = inverse.Apply(Point(i - 3, y));
      const std::int64_t ui = static_cast<std::int64_t>(std::floor(q.x));
      const std::int64_t vi = static_cast<std::int64_t>(std::floor(q.y));
      // Weights from the position's fraction; far from a weight boundary, rounding cannot matter.
      const double fu = (q.x - ui) * 256;
      const double fv = (q.y - vi) * 256;
      if (std::fabs(fu - std::round(fu)) < 1e-3 || std::fabs(fv - std::round(fv)) < 1e-3) {
        continue;
      }
      const auto at = [&](std::int64_t u, std::int64_t v) -> Pixel {
        return u >= 0 && u < 5 && v >= 0 && v < 5 ? *pixels.At(static_cast<std::int32_t>(u), static_cast<std::int32_t>(v)) : 0;
      };
      Pixel expected = 0;
      if (ui >= -1 && ui < 5 && vi >= -1 && vi < 5) {
        const auto lerp = [](std::int32_t a, std::int32_t b, std::int32_t f) { return (a + (((b - a) * f) >> 8)) & 255; };
        for (const int shift : {24, 16, 8, 0}) {
          const auto channel = [&](Pixel p) { return static_cast<std::int32_t>((p >> shift) & 255); };
          const std::int32_t fx = static_cast<std::int32_t>(fu);
          const std::int32_t fy = static_cast<std::int32_t>(fv);
          const std::int32_t top = lerp(channel(at(ui, vi)), channel(at(ui + 1, vi)), fx);
          const std::int32_t bottom = lerp(channel(at(ui, vi + 1)), channel(at(ui + 1, vi + 1)), fx);
          expected |= static_cast<Pixel>(lerp(top, bottom, fy)) << shift;
        }
      }
      ASSERT_EQ(row[i], expected) << "pixel " << i - 3 << "," << y;
    }
  }
}

TEST(ImageSamplerTest, RepeatingTilesThePlane) {
  const Ramp image;
  TransformedMask tiles(image, true, Transform(), WholePlaneRect);
  EXPECT_EQ(tiles.GetBounds(), WholePlaneRect);
  EXPECT_EQ(Expand(Collect<Coverage>(tiles, -2, 0, 8)), (std::vector<Coverage>{40, 50, 20, 30, 40, 50, 20, 30}));
  EXPECT_EQ(Sample(tiles, 4001, -4000), Coverage{30});
  EXPECT_EQ(Sample(tiles, -1000000001, 1000000002), Coverage{170});

  // u = -1.5 lies left of the image: it wraps to column w - 2 with its half-pixel weight.
  TransformedMask shifted(image, true, Transform().Translate(1.5, 0), WholePlaneRect);
  EXPECT_EQ(Sample(shifted, 0, 0), Coverage{45});
  // Across the seam the last column blends with the first.
  EXPECT_EQ(Sample(shifted, 4, 0), Coverage{45});
  EXPECT_EQ(Sample(shifted, 5, 0), Coverage{35});
  EXPECT_EQ(Sample(shifted, 1, 0), Coverage{35});
}

TEST(ImageSamplerTest, ClipRectangleLimitsTheImage) {
  MaskImage image(IntRect(0, 0, 8, 8));
  for (std::int32_t y = 0; y < 8; ++y) {
    for (std::int32_t x = 0; x < 8; ++x) {
      *image.At(x, y) = static_cast<Coverage>(8 * y + x);
    }
  }
  TransformedMask part(image, false, Transform(), IntRect(2, 2, 4, 4));
  EXPECT_EQ(Expand(Collect<Coverage>(part, 0, 3, 8)), (std::vector<Coverage>{0, 0, 26, 27, 28, 29, 0, 0}));
  TransformedMask tiled(image, true, Transform(), IntRect(2, 2, 2, 2));
  EXPECT_EQ(Expand(Collect<Coverage>(tiled, 0, 0, 6)), (std::vector<Coverage>{18, 19, 18, 19, 18, 19}));

  // An image that does not meet the clip has nothing to show, repeating or not.
  for (const bool repeat : {false, true}) {
    TransformedMask nothing(image, repeat, Transform().Scale(1.5, 1.5), IntRect(20, 20, 4, 4));
    EXPECT_EQ(Expand(Collect<Coverage>(nothing, -5, 0, 40)), std::vector<Coverage>(40, 0));
  }
}

TEST(ImageSamplerTest, DegenerateTransformsRenderNothing) {
  const Ramp image;
  for (const Transform& t : {Transform().Scale(0, 1), Make(1, 2, 0, 2, 4, 0), Transform().Scale(1e-10, 1e10),
                             Transform().Translate(2e9, 0), Make(std::nan(""), 0, 0, 0, 1, 0),
                             Transform().Scale(1e200, 1e200)}) {
    for (const bool repeat : {false, true}) {
      TransformedMask source(image, repeat, t, WholePlaneRect);
      EXPECT_EQ(source.GetSampler().GetKind(), ImageSampler<Coverage>::kDegenerate);
      EXPECT_EQ(source.GetBounds(), WholePlaneRect);
      EXPECT_EQ(Expand(Collect<Coverage>(source, -3, 1, 10)), std::vector<Coverage>(10, 0));
    }
  }
  // An image at the far left of the plane moved further left: each value of the inverse is in
  // range, but the origin lies 2^31 columns right of the image, past a 32-bit integer part.
  MaskImage farLeft(IntRect(-0x40000000, 0, 2, 2));
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 2; ++x) {
      *farLeft.At(-0x40000000 + x, y) = static_cast<Coverage>(20 + 10 * x + 60 * y);
    }
  }
  for (const bool repeat : {false, true}) {
    TransformedMask source(farLeft, repeat, Transform().Translate(-0x40000000, 0), WholePlaneRect);
    EXPECT_EQ(source.GetSampler().GetKind(), ImageSampler<Coverage>::kDegenerate);
    EXPECT_EQ(Expand(Collect<Coverage>(source, 0, 1, 10)), std::vector<Coverage>(10, 0));
  }
  // Just inside that range the image is still sampled.
  TransformedMask nearer(farLeft, true, Transform().Translate(-0x3FFFFFFE, 0), WholePlaneRect);
  EXPECT_EQ(nearer.GetSampler().GetKind(), ImageSampler<Coverage>::kTranslation);
  EXPECT_EQ(Expand(Collect<Coverage>(nearer, 0, 1, 3)), (std::vector<Coverage>{80, 90, 80}));
}

TEST(ImageSamplerTest, BoundsHoldEverythingThatIsSampled) {
  // Stretched beyond the range of doubles: the outline reaches infinity, and so do the bounds.
  MaskImage wide(IntRect(-100, 0, 200, 4));
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = -100; x < 100; ++x) {
      *wide.At(x, y) = static_cast<Coverage>(x == 0 ? 50 + y : 1);
    }
  }
  TransformedMask stretched(wide, false, Transform().Scale(1e307, 1), WholePlaneRect);
  EXPECT_EQ(stretched.GetBounds().x, WholePlaneRect.x);
  EXPECT_EQ(stretched.GetBounds().width, WholePlaneRect.width);
  EXPECT_EQ(Sample(stretched, 12345, 2), Coverage{52});
  EXPECT_EQ(Sample(stretched, -999999, 3), Coverage{53});
  // A corner at infinity minus infinity is no number; the bounds still reach everywhere.
  TransformedMask sheared(wide, false, Make(1e308, -1e308, 0, 1e-9, 1e-9, 0), WholePlaneRect);
  ASSERT_NE(sheared.GetSampler().GetKind(), ImageSampler<Coverage>::kDegenerate);
  EXPECT_EQ(sheared.GetBounds(), WholePlaneRect);

  // Magnified 3 * 2^26 times across, the inverse is rounded down to 21 / 2^32 and reaches the last
  // column a sixteenth of a source pixel (12 million destination pixels) beyond the exact
  // outline, where it would blend 110 with transparency to 6: nothing shows outside the bounds.
  const Ramp image;
  TransformedMask magnified(image, false, Transform().Scale(3 * (1 << 26), 1), WholePlaneRect);
  EXPECT_EQ(magnified.GetSampler().GetKind(), ImageSampler<Coverage>::kHorizontalStretch);
  const std::int32_t right = magnified.GetBounds().GetRight();
  EXPECT_EQ(right, 4 * 3 * (1 << 26) + 2);
  EXPECT_EQ(Sample(magnified, right - 1000, 1), Coverage{7});
  EXPECT_EQ(Sample(magnified, right + 1000, 1), Coverage{0});
  EXPECT_EQ(Expand(Collect<Coverage>(magnified, right - 2, 1, 4)), (std::vector<Coverage>{6, 6, 0, 0}));
}

TEST(ImageSamplerTest, FarPositionsAreSkippedWithoutOverflow) {
  const Ramp image;
  // A strong shrink across: neighbouring pixels lie 2^20 source pixels apart.
  TransformedMask far(image, false, Transform().Scale(1.0 / (1 << 20), 128), WholePlaneRect);
  EXPECT_EQ(far.GetSampler().GetKind(), ImageSampler<Coverage>::kDown);
  EXPECT_EQ(Expand(Collect<Coverage>(far, -1, 128, 3)), (std::vector<Coverage>{0, 80, 0}));
  EXPECT_EQ(Expand(Collect<Coverage>(far, -1, 192, 3)), (std::vector<Coverage>{0, 110, 0}));
  // Shrunk a thousandfold and tiled: positions far beyond 64-bit fixed point, computed exactly.
  // Whole rows agree with pixels sampled one by one, which start from their own positions.
  const Transform shrink = Make(0.001, 0.0003, 0, -0.0002, 0.001, 0);
  TransformedMask farTiles(image, true, shrink, WholePlaneRect);
  for (const std::int32_t y : {-1000000000, 7, 1000000000}) {
    const std::vector<Coverage> row = Expand(Collect<Coverage>(farTiles, 1000000000, y, 64));
    for (std::int32_t i = 0; i < 64; ++i) {
      ASSERT_EQ(row[i], Sample(farTiles, 1000000000 + i, y)) << i;
    }
  }
  // Rotated and enlarged, far from the origin: long transparent stretches are skipped, and the
  // values where the row crosses the image are those of single samples.
  TransformedMask spinning(image, false, Transform().Scale(40, 40).Rotate(0.3).Translate(1e6, -1e6), WholePlaneRect);
  const IntRect bounds = spinning.GetBounds();
  const std::int32_t y = bounds.y + bounds.height / 2;
  const std::vector<Coverage> row = Expand(Collect<Coverage>(spinning, bounds.x - 200, y, 512));
  std::int32_t covered = 0;
  for (std::int32_t i = 0; i < 512; ++i) {
    ASSERT_EQ(row[i], Sample(spinning, bounds.x - 200 + i, y)) << i;
    covered += row[i] != 0;
  }
  EXPECT_GT(covered, 100);
}

}  // namespace
}  // namespace QorRaster
