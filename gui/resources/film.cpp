#include "gui/resources/film.h"

#include <algorithm>
#include <utility>

#include "gui/resources/canvas.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/raster_resources.h"

namespace Velto {

namespace {

std::int32_t FrameCount(std::int32_t count) { return std::clamp(count, 1, kMaxFrameCount); }

}  // namespace

rcFilm::rcFilm(ref<rcImage> source, std::int32_t frameCount)
    : fSource(std::move(source)), fFrameCount(FrameCount(frameCount)) {}

ref<rcImage> rcFilm::GetFrame(std::int32_t index) {
  const Wex::cRect b = fSource->GetBounds();
  const std::int64_t height = (std::int64_t{b.fBottom} - b.fTop) / fFrameCount;
  const std::int64_t top = b.fTop + std::int64_t{index} * height;
  // Every frame lies where the first one lies in the source.
  return ref<rcImage>(new rcSubImage(
      fSource, {b.fLeft, SaturateToInt32(top), b.fRight, SaturateToInt32(top + height)}, b.TopLeft()));
}

std::int32_t rcFilm::GetChangeCount() { return fSource->GetChangeCount(); }

rcCrossfadeFilm::rcCrossfadeFilm(ref<rcRasterResource> source, std::int32_t frameCount, bool cyclic)
    : fSource(std::move(source)), fRange(FrameCount(frameCount) * 256 - (cyclic ? 0 : 255)) {}

ref<rcImage> rcCrossfadeFilm::GetFrame(std::int32_t position) {
  const std::int32_t frames = static_cast<std::int32_t>((std::int64_t{fRange} + 255) / 256);
  const std::int32_t height = fSource->GetPaint().GetBounds().height / frames;
  const std::int64_t top = std::int64_t{position / 256} * height;
  return ref<rcImage>(new rcCrossfadeFrame(fSource, height, SaturateToInt32(top), position & 255));
}

std::int32_t rcCrossfadeFilm::GetChangeCount() { return fSource->GetChangeCount(); }

iref<iFilm> MakeFilm(const ref<rcImage>& image, std::int32_t frameCount, bool interpolate) {
  if (interpolate) {
    ref<rcRasterResource> pixels = GetPixelImage(image);
    if (!pixels) pixels = ref<rcRasterResource>(new rcImageResource(0, 0, false));
    return iref<iFilm>(new rcCrossfadeFilm(pixels, frameCount, false));
  }
  return iref<iFilm>(new rcFilm(image ? image : ref<rcImage>(new rcImageResource(0, 0, false)), frameCount));
}

}  // namespace Velto
