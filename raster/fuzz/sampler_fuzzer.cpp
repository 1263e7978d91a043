// Samples a small pixel image and a small coverage image through a transform, clip and repeat
// flag taken from arbitrary bytes, into a destination anywhere in the plane: any input must render
// without reading outside the images, crashing or hanging, and nothing may show outside the
// sampler's bounds.
#include <cstdint>
#include <cstdlib>

#include "raster/fuzz/fuzz_reader.h"
#include "raster/image.h"
#include "raster/image_sampler.h"

namespace {

using namespace QorRaster;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

template <typename Value>
void Sample(const BasicImage<Value>& picture, bool repeat, const Transform& t, const IntRect& clip,
            const IntRect& destination) {
  TransformedSource<Value> source(picture, repeat, t, clip);
  BasicImage<Value> image(destination);
  image.Render(source);
  const IntRect bounds = source.GetBounds();
  for (std::int32_t y = destination.y; y < destination.GetBottom(); ++y) {
    for (std::int32_t x = destination.x; x < destination.GetRight(); ++x) {
      const bool inside = x >= bounds.x && x < bounds.GetRight() && y >= bounds.y && y < bounds.GetBottom();
      Check(inside || *image.At(x, y) == 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Fuzzing::Reader in(data, size);
  const std::int16_t pictureX = in.Int16();
  const std::int16_t pictureY = in.Int16();
  const std::int32_t pictureWidth = 1 + in.Byte() % 16;
  const std::int32_t pictureHeight = 1 + in.Byte() % 16;
  const IntRect pictureBounds(pictureX, pictureY, pictureWidth, pictureHeight);
  Image pixels(pictureBounds);
  MaskImage coverage(pictureBounds);
  const bool opaque = (in.Byte() & 1) != 0;
  for (std::int32_t y = pictureBounds.y; y < pictureBounds.GetBottom(); ++y) {
    for (std::int32_t x = pictureBounds.x; x < pictureBounds.GetRight(); ++x) {
      const std::uint8_t v = in.Byte();
      *pixels.At(x, y) = opaque ? 0xFF000000u | v * 0x010101u : v * 0x01010101u;
      *coverage.At(x, y) = v;
    }
  }
  pixels.SetOpaque(opaque);
  const std::int16_t clipX = in.Int16();
  const std::int16_t clipY = in.Int16();
  const std::int32_t clipWidth = in.Byte() % 24;
  const std::int32_t clipHeight = in.Byte() % 24;
  const IntRect clip(clipX, clipY, clipWidth, clipHeight);
  const bool repeat = (in.Byte() & 1) != 0;
  const auto [a, b, c, d, e, f] = Fuzzing::Numbers<6>(in);
  Transform t;
  t.Set(a, b, c, d, e, f);
  // Destinations anywhere in the plane, most of them near the origin.
  const std::int32_t scale = 1 << (in.Byte() % 16);
  const std::int32_t x = in.Int16() * scale;
  const std::int32_t y = in.Int16() * scale;
  const std::int32_t width = 1 + in.Byte() % 64;
  const std::int32_t height = 1 + in.Byte() % 16;
  const IntRect destination(x, y, width, height);
  Sample(pixels, repeat, t, clip, destination);
  Sample(coverage, repeat, t, clip, destination);
  return 0;
}
