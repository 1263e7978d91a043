// Builds a path from arbitrary bytes, coordinates included, and scan-converts it into a clip
// rectangle taken from the bytes: any input must render without crashing or hanging, and the
// coverage must stay inside the mask's bounds, which lie inside the clip.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "raster/image.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"

namespace {

using namespace QorRaster;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Reads the input from the front; past its end every read gives zeros.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : fData(data), fSize(size) {}

  bool AtEnd() const { return fPosition >= fSize; }
  std::uint8_t Byte() { return fPosition < fSize ? fData[fPosition++] : 0; }
  std::int16_t Int16() { return static_cast<std::int16_t>(Byte() | Byte() << 8); }
  // Mostly small coordinates in 1/16 pixel; a tag bit selects a raw double (NaN, infinities and
  // huge values included).
  double Number() {
    if ((Byte() & 0x80) == 0) {
      return Int16() / 16.0;
    }
    std::uint8_t bytes[8];
    for (std::uint8_t& b : bytes) {
      b = Byte();
    }
    double v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
  }

 private:
  const std::uint8_t* fData;
  std::size_t fSize;
  std::size_t fPosition = 0;
};

constexpr int kMaxOperations = 32;

void Build(Reader& in, Path& path) {
  for (int i = 0; i < kMaxOperations && !in.AtEnd(); ++i) {
    switch (in.Byte() % 15) {
      case 0: path.MoveTo(in.Number(), in.Number()); break;
      case 1: path.LineTo(in.Number(), in.Number()); break;
      case 2: path.Close(); break;
      case 3: path.QuadTo(in.Number(), in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 4: path.CubicTo(in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 5: path.ArcTo(in.Number(), in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 6: path.AddRect(in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 7:
        path.AddRoundedRect(in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number());
        break;
      case 8: path.AddCircle(in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 9: path.AddEllipse(in.Number(), in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 10: path.AddStar(in.Int16(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number()); break;
      case 11: path.CloseAll(); break;
      case 12: {
        Transform t;
        t.Set(in.Number(), in.Number(), in.Number(), in.Number(), in.Number(), in.Number());
        path.Transform(t);
        break;
      }
      case 13: path.Append(path); break;
      default: path.AddLine(in.Number(), in.Number(), in.Number(), in.Number()); break;
    }
    // Doubling by appending is the one way to grow without bound; keep paths renderable.
    if (path.GetVertices().size() > 200000) {
      return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  // Clips anywhere in the plane, most of them near the origin.
  const std::int32_t scale = 1 << (in.Byte() % 16);
  const IntRect clip(in.Int16() * scale, in.Int16() * scale, 1 + in.Byte() % 96, 1 + in.Byte() % 96);
  const FillRule& rule = (in.Byte() & 1) != 0 ? static_cast<const FillRule&>(kEvenOddRule) : kNonZeroRule;
  Path path;
  Build(in, path);
  (void)path.GetIntBounds();

  PolygonMask mask(path, clip, &rule);
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
  return 0;
}
