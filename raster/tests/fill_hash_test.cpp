// Fills of every sample shape at every sample size, through every tree that draws a shape into
// an image or a coverage buffer, under several colours and backgrounds, reduced to one hash per
// shape and size. The hashes were taken from the plain scan converter and run-merging
// compositing; any change to what a fill renders shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/image.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "raster/table.h"
#include "raster/tests/sample_shapes.h"

namespace QorRaster {
namespace {

using Testing::kSampleImageSize;
using Testing::SampleShape;

// FNV-1a over the values of an area of an image.
class Hash {
 public:
  void Add(std::uint64_t v) {
    for (int i = 0; i < 8; ++i, v >>= 8) {
      fValue = (fValue ^ (v & 0xFF)) * 0x100000001B3u;
    }
  }
  template <typename Value>
  void Add(const BasicImage<Value>& image, const IntRect& area) {
    for (std::int32_t y = area.y; y < area.GetBottom(); ++y) {
      for (std::int32_t x = area.x; x < area.GetRight(); ++x) Add(*image.At(x, y));
    }
  }
  std::uint64_t Get() const { return fValue; }

 private:
  std::uint64_t fValue = 0xCBF29CE484222325u;
};

// Premultiplied pixels that differ from column to column and row to row, some of them opaque.
Pixel NoiseAt(std::int32_t x, std::int32_t y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  const std::uint32_t alpha = (h & 3) == 0 ? 0xFF : (h >> 24);
  const auto channel = [&](int shift) { return ((h >> shift) & 0xFF) * alpha / 255; };
  return alpha << 24 | channel(2) << 16 | channel(10) << 8 | channel(18);
}

// The sample shapes, and rectangles and circles that the editor draws: reversed, thinner than a
// pixel, partly or wholly outside the image, without height, rounded, small and off the grid.
std::vector<SampleShape> Shapes(double size) {
  std::vector<SampleShape> shapes = Testing::SampleShapes(size);
  const double c = kSampleImageSize / 2.0;
  const auto add = [&](const char* name, Path path, bool evenOdd = false) { shapes.push_back({name, path, evenOdd}); };
  add("reversed-rect", Path().AddRect(c + size / 2 + 0.4, c - size / 3 + 0.7, -size, size * 0.6));
  add("reversed-rect-evenodd", Path().AddRect(c + 0.25, c + size / 2, size * 0.5, -size), true);
  add("thin-rect", Path().AddRect(c + 0.3, c - size / 2, 0.45, size));
  add("flat-rect", Path().AddRect(c - size / 2 + 0.5, c + 0.125, size, 0.6));
  add("corner-rect", Path().AddRect(-size / 2 - 0.3, -size / 3 + 0.2, size, size));
  add("far-right-rect", Path().AddRect(kSampleImageSize - size / 2 + 0.7, c, size, size / 2));
  add("outside-rect", Path().AddRect(-size - 5.5, c, size, size));
  add("empty-rect", Path().AddRect(c + 0.5, c + 0.5, size, 0));
  add("rounded-rect",
      Path().AddRoundedRect(c - size / 2 + 0.2, c - size / 3, size, size * 0.7, size / 8, size / 8, 1.0));
  add("small-circle", Path().AddCircle(c + 0.3, c + 0.6, size / 10 + 1.5, 1.0));
  add("two-rects", Path().AddRect(c - size / 2, c - size / 2, size / 3, size).AddRect(c, c, size / 2 + 0.5, size / 3));
  return shapes;
}

template <typename Value, typename At>
void FillImage(BasicImage<Value>& image, At at) {
  const IntRect b = image.GetBounds();
  for (std::int32_t y = b.y; y < b.GetBottom(); ++y) {
    for (std::int32_t x = b.x; x < b.GetRight(); ++x) *image.At(x, y) = at(x, y);
  }
}

template <typename Value>
void CopyImage(BasicImage<Value>& to, const BasicImage<Value>& from) {
  const IntRect b = from.GetBounds();
  std::copy_n(from.At(b.x, b.y), std::size_t{static_cast<std::size_t>(b.width)} * b.height, to.At(b.x, b.y));
}

// Every fill tree of the shape's coverage, under each colour and over each background, in order.
// Only the area around the shape can change; it is hashed with a margin around it.
std::uint64_t HashFills(const SampleShape& shape) {
  const IntRect bounds(0, 0, kSampleImageSize, kSampleImageSize);
  const FillRule* rule = shape.evenOdd ? static_cast<const FillRule*>(&kEvenOddRule) : &kNonZeroRule;
  const IntRect box = shape.path.GetIntBounds();
  const IntRect cut = box.Intersect(bounds);
  const IntRect hashed = IntRect(box.x - 16, box.y - 16, box.width + 32, box.height + 32).Intersect(bounds);
  const IntRect part(cut.x + cut.width / 3, cut.y - 1, cut.width / 2 + 1, cut.height / 2 + 2);
  static const GammaTable gamma(1.8);
  static const auto backgrounds = [&] {
    std::vector<std::unique_ptr<Image>> images;
    for (const auto at : {+[](std::int32_t, std::int32_t) { return Pixel{0}; },
                          +[](std::int32_t, std::int32_t) { return Pixel{0xFF202020}; }, &NoiseAt}) {
      FillImage(*images.emplace_back(std::make_unique<Image>(bounds)), at);
    }
    return images;
  }();
  Hash hash;
  Image image(bounds);
  for (const Pixel colour : {0xFF3366CCu, 0xFE3264CAu, 0x80193366u, 0x00000000u}) {
    for (const auto& background : backgrounds) {
      for (int tree = 0; tree < 4; ++tree) {
        CopyImage(image, *background);
        PolygonMask mask(shape.path, bounds, rule);
        SolidPaint solid(colour);
        SolidRectPaint rect(colour, part);
        LookupMask corrected(&mask, &gamma);
        // A colour, a colour in a rectangle, and a colour through gamma-corrected coverage, drawn;
        // a colour replacing what lies in a rectangle.
        Paint* const paint = tree == 1 ? static_cast<Paint*>(&rect) : &solid;
        MaskedPaint fill(paint, tree == 2 ? static_cast<Mask*>(&corrected) : &mask);
        tree == 3 ? image.RenderRect(fill, part) : image.Draw(fill);
        hash.Add(image, hashed);
      }
    }
  }
  for (int tree = 0; tree < 2; ++tree) {
    static const auto coverageBackground = [&] {
      auto image = std::make_unique<MaskImage>(bounds);
      FillImage(*image, [](std::int32_t x, std::int32_t y) { return static_cast<Coverage>(NoiseAt(x, y) >> 24); });
      return image;
    }();
    MaskImage coverage(bounds);
    CopyImage(coverage, *coverageBackground);
    PolygonMask mask(shape.path, bounds, rule);
    tree == 0 ? coverage.Render(mask) : coverage.Draw(mask);
    hash.Add(coverage, hashed);
  }
  return hash.Get();
}

TEST(FillHashTest, EveryShapeSizeColourAndBackgroundFillsAsBefore) {
  // The hashes of each shape at each of the sample sizes, in their order.
  const std::map<std::string, std::array<std::uint64_t, std::size(Testing::kSampleSizes)>> expected = {
      {"aligned-rect", {0x054C28F288D96A49u, 0x3EDF3E0B36FB5D0Du, 0xBEC6A31EE5E1E4C4u, 0x7F59E5275E52F09Du}},
      {"unaligned-rect", {0x64E5ECF545E9DA64u, 0x493C7F22FE9355EBu, 0x4525DDE57192A04Cu, 0x9339CA88102F2ED7u}},
      {"rotated-rect", {0x9B031B3752D1D5D5u, 0xCA2B4FE4B4A685ADu, 0xF4B3A482BAF03B05u, 0xA31ED134A8B2651Fu}},
      {"polygon10-nonzero", {0xFCEB5E806ABD4354u, 0x5945FE74621C46DFu, 0xB80115B7A3679D69u, 0x12FFF4C530C93382u}},
      {"polygon10-evenodd", {0x9A25ED0F38253399u, 0x27A24D8072A3B5E5u, 0x8FBEAD2C1FE805DDu, 0x0C7AEF75E3AA221Cu}},
      {"polygon40-nonzero", {0xA0C12DD130B891EAu, 0x2680C2BE8F115662u, 0xB810DCD67881D42Fu, 0x8B44C6C8D2A18AF3u}},
      {"polygon40-evenodd", {0x8E9E32535B9C735Du, 0xD0E4510A1CD7CE1Fu, 0x715493AFE5827AB2u, 0x4A392B82B450F2D3u}},
      {"circle", {0x9DC76660D208DCECu, 0x3F1B894419F0B167u, 0x60CECD9AE56AB674u, 0x6086E0F404B00F43u}},
      {"reversed-rect", {0xBE2D6B58211A612Du, 0xFB79E49ED2BF640Eu, 0x6C0DDE2B64174419u, 0x80CE79CA0AE1307Fu}},
      {"reversed-rect-evenodd", {0xACF04076A35CE4F2u, 0xEB08000BF19D9D95u, 0x7E1B7CAA6BCE7010u, 0xDFFD73691B398CE2u}},
      {"thin-rect", {0xC3C498CAA520A26Fu, 0xB0311799AD314B13u, 0x355040BDCFE37C00u, 0x68CB731B35BDF6C9u}},
      {"flat-rect", {0xD455A026C69F0D44u, 0x1785C77FDCD4C7FCu, 0x32AD0AEDA32BEA7Bu, 0xFB9E8AA128A702A0u}},
      {"corner-rect", {0xC3B1A465B8925CF4u, 0x0202C54BBFEF1438u, 0x819A003D22B25F34u, 0x96E9F6F0A721C86Eu}},
      {"far-right-rect", {0xCC5D77980AE46EB5u, 0x943CE15E2B0A0D93u, 0x18F44559B96D005Bu, 0x1E63A279AC634535u}},
      {"outside-rect", {0x109E2B91065F1F0Du, 0xEEBBFBC9D45769BCu, 0x7A52C6F0FBD3DA56u, 0xAA2FDD0DA4A62F0Du}},
      {"empty-rect", {0xD8B95C4379889865u, 0x988BED4009BC0157u, 0x089653551A446E2Cu, 0xA9E18E048FFF1ADDu}},
      {"rounded-rect", {0x74B85275D8108322u, 0x2D4439ABE2462753u, 0x5127609D23F704DEu, 0x4F2B234B50900895u}},
      {"small-circle", {0xF011F174C4B482F6u, 0xCB8B9F61DD1B8F20u, 0x07B0A71CBEDA85AAu, 0x641155D6CA3B99D0u}},
      {"two-rects", {0x2EAAF197E6AEDE44u, 0xCF0F8166EE60EF9Fu, 0xAC31AFBA6DC84FB8u, 0x13A228690AECDA5Au}},
  };
  for (std::size_t i = 0; i < std::size(Testing::kSampleSizes); ++i) {
    for (const SampleShape& shape : Shapes(Testing::kSampleSizes[i])) {
      const std::string key = shape.name + "/" + std::to_string(static_cast<int>(Testing::kSampleSizes[i]));
      const std::uint64_t actual = HashFills(shape);
      const auto it = expected.find(shape.name);
      char printed[32];
      std::snprintf(printed, sizeof printed, "0x%016llX", static_cast<unsigned long long>(actual));
      if (it == expected.end()) {
        ADD_FAILURE() << "no hashes for " << key << ", which hashes to " << printed;
      } else {
        EXPECT_EQ(it->second[i], actual) << key << " now hashes to " << printed;
      }
    }
  }
}

}  // namespace
}  // namespace QorRaster
