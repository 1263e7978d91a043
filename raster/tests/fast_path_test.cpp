// The short ways through the library give what the general ones give: a rectangle's coverage
// straight from its two edges against the same rectangle accumulated edge by edge, and a colour
// masked by coverage composited straight from the coverage against the combination of the tree.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "raster/clip.h"
#include "raster/combine.h"
#include "raster/image.h"
#include "raster/polygon_mask.h"
#include "raster/run_optimized.h"
#include "raster/solid.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::RunRecord;

// A rule that is neither of the two, through the interface only.
class HalfRule final : public FillRule {
 public:
  void Convert(std::int32_t count, const std::int32_t* values, Coverage* coverage) const override {
    for (std::int32_t i = 0; i < count; ++i) {
      coverage[i] = static_cast<Coverage>(std::min<std::uint32_t>(static_cast<std::uint32_t>(values[i]) >> 9, 255));
    }
  }
};

const HalfRule kHalfRule;

class Random {
 public:
  explicit Random(std::uint32_t seed) : fEngine(seed) {}
  std::int32_t Int(std::int32_t from, std::int32_t to) { return std::uniform_int_distribution<std::int32_t>(from, to)(fEngine); }
  double Real(double from, double to) { return std::uniform_real_distribution<double>(from, to)(fEngine); }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  // A coordinate on whole, half, quarter or arbitrary positions, now and then far out.
  double Coordinate(double from, double to) {
    switch (Int(0, 5)) {
      case 0: return Int(static_cast<std::int32_t>(from), static_cast<std::int32_t>(to));
      case 1: return Int(static_cast<std::int32_t>(from) * 4, static_cast<std::int32_t>(to) * 4) / 4.0;
      case 2: return Chance(50) ? -3e5 : 3e5;
      default: return Real(from, to);
    }
  }
  // Premultiplied, often opaque or nearly so.
  Pixel Colour() {
    const std::uint32_t alpha = Chance(30) ? 0xFF : Chance(20) ? 0xFE : Chance(10) ? 0 : static_cast<std::uint32_t>(Int(0, 255));
    const auto channel = [&] { return static_cast<std::uint32_t>(Int(0, static_cast<std::int32_t>(alpha))); };
    return alpha << 24 | channel() << 16 | channel() << 8 | channel();
  }
  std::mt19937& Engine() { return fEngine; }

 private:
  std::mt19937 fEngine;
};

const FillRule* RandomRule(Random& random) {
  switch (random.Int(0, 2)) {
    case 0: return &kNonZeroRule;
    case 1: return &kEvenOddRule;
    default: return &kHalfRule;
  }
}

// A rectangle as a path: its corners in the order AddRect gives them, with the right side in
// one segment or, splitting it in two, made of three vertical edges, which takes the scan
// converter's general way to the same coverage.
Path RectanglePath(double x, double y, double w, double h, bool split) {
  Path p;
  p.MoveTo(x, y).LineTo(x + w, y);
  if (split) {
    p.LineTo(x + w, y + h / 2);
  }
  return p.LineTo(x + w, y + h).LineTo(x, y + h).Close();
}

// Every row of the mask's bounds and one beyond, each in random chunks from a start left of the
// bounds; the rows that the mask reports equal must render the same coverage.
std::vector<std::vector<RunRecord<Coverage>>> RenderRows(PolygonMask& mask, Random& random, const IntRect& clip) {
  const IntRect b = mask.GetBounds();
  std::vector<std::vector<RunRecord<Coverage>>> rows;
  const std::int32_t left = std::min(b.x, clip.x) - random.Int(0, 3);
  const std::int32_t right = std::max(clip.GetRight(), b.GetRight()) + 3;
  std::vector<RunRecord<Coverage>> equalTo;
  std::int32_t equalLeft = 0;
  for (std::int32_t y = b.y - 1; y <= b.GetBottom(); ++y) {
    const std::int32_t equal = mask.CountEqualRows(y);
    EXPECT_GE(equal, 1);
    std::vector<RunRecord<Coverage>> row;
    for (std::int32_t x = left; x < right;) {
      const std::int32_t count = std::min(random.Int(1, kMaxSpan), right - x);
      const auto chunk = Collect<Coverage>(mask, x, y, count);
      row.insert(row.end(), chunk.begin(), chunk.end());
      x += count;
    }
    if (equalLeft > 0) {
      EXPECT_EQ(Testing::Expand(row), Testing::Expand(equalTo)) << "row " << y << " reported equal to the one above";
      --equalLeft;
    }
    if (equal > 1 && equalLeft == 0) {
      equalTo = row;
      equalLeft = equal - 1;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(FastPathTest, RectanglesCoverAsTheirEdgesAccumulate) {
  Random random(34);
  for (int i = 0; i < 1500; ++i) {
    const IntRect clip(random.Int(-20, 20), random.Int(-20, 20), random.Int(1, 700), random.Int(1, 40));
    // Fractional, reversed, degenerate, and partly or wholly outside the clip (or the band
    // around it within which coordinates are kept).
    const double x = random.Coordinate(clip.x - 30.0, clip.GetRight() + 10.0);
    const double y = random.Coordinate(clip.y - 10.0, clip.GetBottom() + 5.0);
    const double w = random.Chance(10) ? 0 : random.Chance(10) ? random.Real(-0.01, 0.01) : random.Coordinate(-300, 300);
    const double h = random.Chance(10) ? 0 : random.Coordinate(-50, 50);
    const FillRule* rule = RandomRule(random);
    PolygonMask direct(RectanglePath(x, y, w, h, false), clip, rule);
    PolygonMask accumulated(RectanglePath(x, y, w, h, true), clip, rule);
    ASSERT_EQ(direct.GetBounds(), accumulated.GetBounds()) << x << "," << y << " " << w << "x" << h;
    const std::uint32_t seed = random.Engine()();
    Random chunks(seed);
    Random sameChunks(seed);
    EXPECT_EQ(RenderRows(direct, chunks, clip), RenderRows(accumulated, sameChunks, clip))
        << x << "," << y << " " << w << "x" << h << " in " << clip.x << "," << clip.y << " " << clip.width << "x"
        << clip.height;
  }
}

// The same random premultiplied picture in both images of the same bounds.
void Scatter(Image& image, Image& same, Random& random) {
  const IntRect b = image.GetBounds();
  for (std::int32_t y = b.y; y < b.GetBottom(); ++y) {
    for (std::int32_t x = b.x; x < b.GetRight(); ++x) *image.At(x, y) = *same.At(x, y) = random.Colour();
  }
}

// A mask of each kind the fill meets: a polygon mask of a rectangle, circle or random polygon;
// coverage values of a picture, declared full or not, as they lie or re-encoded into runs.
struct RandomMask {
  std::unique_ptr<Mask> mask;
  std::unique_ptr<MaskImage> picture;
  std::unique_ptr<Mask> shape;

  RandomMask(const IntRect& area, std::uint32_t seed) {
    Random r(seed);
    const double cx = r.Real(area.x - 10.0, area.GetRight() + 10.0);
    const double cy = r.Real(area.y - 10.0, area.GetBottom() + 10.0);
    const double size = r.Real(0, 120);
    const FillRule* rule = RandomRule(r);
    Path path;
    switch (r.Int(0, 4)) {
      case 0: path.AddRect(cx, cy, r.Coordinate(-size, size), r.Coordinate(-size, size)); break;
      case 1: path.AddRect(r.Int(area.x, area.GetRight()), r.Int(area.y, area.GetBottom()), r.Int(-200, 700), r.Int(-20, 60)); break;
      case 2: path.AddCircle(cx, cy, size / 2, 1.0); break;
      case 3: {
        path.MoveTo(cx, cy);
        for (int k = r.Int(2, 12); k > 0; --k) path.LineTo(cx + r.Real(-size, size), cy + r.Real(-size, size));
        path.Close();
        break;
      }
      default: {
        picture = std::make_unique<MaskImage>(IntRect(area.x + r.Int(-5, 5), area.y + r.Int(-5, 5), area.width, area.height));
        const bool full = r.Chance(30);
        const IntRect b = picture->GetBounds();
        for (std::int32_t y = b.y; y < b.GetBottom(); ++y) {
          for (std::int32_t x = b.x; x < b.GetRight(); ++x) {
            *picture->At(x, y) = full || r.Chance(40) ? 255 : r.Chance(30) ? 0 : static_cast<Coverage>(r.Int(0, 255));
          }
        }
        picture->SetOpaque(full);
        if (r.Chance(50)) {
          shape = std::make_unique<RunOptimizedMask>(picture.get());
        }
        return;
      }
    }
    mask = std::make_unique<PolygonMask>(path, area, rule);
  }
  Mask& Get() { return mask ? *mask : shape ? *shape : *picture; }
};

TEST(FastPathTest, RecognisedFillsDrawAsTheGeneralTree) {
  Random random(341);
  for (int i = 0; i < 400; ++i) {
    const std::int32_t width = random.Chance(20) ? random.Int(513, 1100) : random.Int(1, 300);
    const IntRect area(random.Int(-50, 50), random.Int(-50, 50), width, random.Int(1, 30));
    Image recognised(area);
    Image general(area);
    Scatter(recognised, general, random);
    const Pixel colour = random.Colour();
    const IntRect rect(random.Int(area.x - 20, area.GetRight()), random.Int(area.y - 5, area.GetBottom()),
                       random.Int(-5, area.width + 20), random.Int(-2, area.height + 5));
    const bool inRect = random.Chance(40);
    const std::uint32_t seed = random.Engine()();
    RandomMask mask(area, seed);
    RandomMask sameMask(area, seed);
    // Now and then both masks have rendered some rows already (a mask moves only downward).
    if (random.Chance(15)) {
      const std::int32_t row = random.Int(area.y, area.GetBottom());
      Testing::Collect<Coverage>(mask.Get(), area.x, row, 1);
      Testing::Collect<Coverage>(sameMask.Get(), area.x, row, 1);
    }
    SolidPaint solid(colour);
    SolidRectPaint solidRect(colour, rect);
    Paint* paint = inRect ? static_cast<Paint*>(&solidRect) : &solid;
    MaskedPaint fill(paint, &mask.Get());
    recognised.Draw(fill);
    // The same tree behind a source that only passes it on, which the image does not recognise.
    MaskedPaint sameFill(paint, &sameMask.Get());
    OffsetPaint passedOn(&sameFill, 0, 0);
    general.Draw(passedOn);
    for (std::int32_t y = area.y; y < area.GetBottom(); ++y) {
      for (std::int32_t x = area.x; x < area.GetRight(); ++x) {
        ASSERT_EQ(*recognised.At(x, y), *general.At(x, y)) << "case " << i << " at " << x << "," << y << " colour " << std::hex
                                                           << colour;
      }
    }
  }
}

}  // namespace
}  // namespace QorRaster
