// Builds a path from arbitrary bytes, coordinates included (strokes and dashes among the
// operations), and scan-converts it into a clip rectangle taken from the bytes: any input must
// render without crashing or hanging, or stop at the library's size limits, and the coverage must
// stay inside the mask's bounds, which lie inside the clip. A colour filled through the coverage
// must give the same pixels however the image composites it.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "raster/clip.h"
#include "raster/combine.h"
#include "raster/fuzz/fuzz_reader.h"
#include "raster/image.h"
#include "raster/limits.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "raster/stroke.h"

namespace {

using namespace QorRaster;
using Fuzzing::Numbers;
using Fuzzing::Reader;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

constexpr int kMaxOperations = 32;

void Build(Reader& in, Path& path) {
  for (int i = 0; i < kMaxOperations && !in.AtEnd(); ++i) {
    switch (in.Byte() % 17) {
      case 0: {
        const auto [x, y] = Numbers<2>(in);
        path.MoveTo(x, y);
        break;
      }
      case 1: {
        const auto [x, y] = Numbers<2>(in);
        path.LineTo(x, y);
        break;
      }
      case 2: path.Close(); break;
      case 3: {
        const auto [cx, cy, x, y, quality] = Numbers<5>(in);
        path.QuadTo(cx, cy, x, y, quality);
        break;
      }
      case 4: {
        const auto [c1x, c1y, c2x, c2y, x, y, quality] = Numbers<7>(in);
        path.CubicTo(c1x, c1y, c2x, c2y, x, y, quality);
        break;
      }
      case 5: {
        const auto [cx, cy, sweep, aspect, quality] = Numbers<5>(in);
        path.ArcTo(cx, cy, sweep, aspect, quality);
        break;
      }
      case 6: {
        const auto [x, y, w, h] = Numbers<4>(in);
        path.AddRect(x, y, w, h);
        break;
      }
      case 7: {
        const auto [x, y, w, h, rx, ry, quality] = Numbers<7>(in);
        path.AddRoundedRect(x, y, w, h, rx, ry, quality);
        break;
      }
      case 8: {
        const auto [cx, cy, r, quality] = Numbers<4>(in);
        path.AddCircle(cx, cy, r, quality);
        break;
      }
      case 9: {
        const auto [cx, cy, rx, ry, quality] = Numbers<5>(in);
        path.AddEllipse(cx, cy, rx, ry, quality);
        break;
      }
      case 10: {
        const std::int16_t count = in.Int16();
        const auto [cx, cy, r1, r2, rotation] = Numbers<5>(in);
        path.AddStar(count, cx, cy, r1, r2, rotation);
        break;
      }
      case 11: path.CloseAll(); break;
      case 12: {
        const auto [a, b, c, d, e, f] = Numbers<6>(in);
        Transform t;
        t.Set(a, b, c, d, e, f);
        path.Transform(t);
        break;
      }
      case 13: path.Append(path); break;
      case 14: {
        const auto caps = static_cast<CapStyle>(in.Byte() % 4);
        const auto joints = static_cast<JointStyle>(in.Byte() % 4);
        const auto [width, miterLimit, quality] = Numbers<3>(in);
        path.Stroke(caps, joints, width, miterLimit, quality);
        break;
      }
      case 15: {
        const auto [dash, gap, offset] = Numbers<3>(in);
        path.Dash(dash, gap, offset);
        break;
      }
      default: {
        const auto [x1, y1, x2, y2] = Numbers<4>(in);
        path.AddLine(x1, y1, x2, y2);
        break;
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  // Clips anywhere in the plane, most of them near the origin.
  const std::int32_t scale = 1 << (in.Byte() % 16);
  const std::int32_t x = in.Int16() * scale;
  const std::int32_t y = in.Int16() * scale;
  const std::int32_t width = 1 + in.Byte() % 96;
  const std::int32_t height = 1 + in.Byte() % 96;
  const IntRect clip(x, y, width, height);
  const FillRule& rule = (in.Byte() & 1) != 0 ? static_cast<const FillRule&>(kEvenOddRule) : kNonZeroRule;
  Path path;
  try {
    Build(in, path);
  } catch (const LimitException&) {
    // The path keeps what was built before the limit.
  }
  (void)path.GetIntBounds();

  std::optional<PolygonMask> converted;
  try {
    converted.emplace(path, clip, &rule);
  } catch (const LimitException&) {
    return 0;
  }
  PolygonMask& mask = *converted;
  const IntRect bounds = mask.GetBounds();
  Check(bounds.IsEmpty() || bounds.Intersect(clip) == bounds);
  // Rendering a margin around the clip also asks for columns and rows outside the bounds.
  MaskImage image(IntRect(clip.x - 3, clip.y - 3, clip.width + 6, clip.height + 6));
  image.Render(mask);
  for (std::int32_t y = image.GetBounds().y; y < image.GetBounds().GetBottom(); ++y) {
    for (std::int32_t x = image.GetBounds().x; x < image.GetBounds().GetRight(); ++x) {
      const bool inside = x >= bounds.x && x < bounds.GetRight() && y >= bounds.y && y < bounds.GetBottom();
      Check(inside || *image.At(x, y) == 0);
    }
  }

  // A colour filled through the coverage over a picture, as the image recognises the tree and
  // composites it straight from the coverage, and as the combination of the tree gives it.
  const Pixel colour = in.Byte() * 0x01010101u | 0xFE000000u * (in.Byte() & 1);
  Image direct(image.GetBounds());
  Image combined(image.GetBounds());
  for (std::int32_t y = direct.GetBounds().y; y < direct.GetBounds().GetBottom(); ++y) {
    for (std::int32_t x = direct.GetBounds().x; x < direct.GetBounds().GetRight(); ++x) {
      *direct.At(x, y) = *combined.At(x, y) = (static_cast<Pixel>(x * 0x9E3779B1u) >> 8) | 0xFF000000u;
    }
  }
  SolidPaint solid(colour);
  PolygonMask directMask(path, clip, &rule);
  MaskedPaint directFill(&solid, &directMask);
  direct.Draw(directFill);
  PolygonMask combinedMask(path, clip, &rule);
  MaskedPaint combinedFill(&solid, &combinedMask);
  OffsetPaint passedOn(&combinedFill, 0, 0);
  combined.Draw(passedOn);
  for (std::int32_t y = direct.GetBounds().y; y < direct.GetBounds().GetBottom(); ++y) {
    for (std::int32_t x = direct.GetBounds().x; x < direct.GetBounds().GetRight(); ++x) {
      Check(*direct.At(x, y) == *combined.At(x, y));
    }
  }
  return 0;
}
