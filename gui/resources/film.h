#pragma once

// Film strips: one image seen as equal frames stacked from top to bottom, frame 0 at the top,
// handing out frame images on demand.

#include <cstdint>

#include "base/rc.h"
#include "gui/resources/image.h"

namespace Velto {

// A film's part through which views draw it; films travel as an iref to it.
class iFilm {
 public:
  // The number of distinct positions.
  virtual std::int32_t GetFrameRange() = 0;
  // A new image of the frame at the position.
  virtual ref<rcImage> GetFrame(std::int32_t position) = 0;
  // The source image's change count.
  virtual std::int32_t GetChangeCount() = 0;
  virtual ~iFilm() = default;
};

// Frame counts are kept within 1 and kMaxFrameCount, so that every frame height and every
// cross-fade range can be computed in 32 bits.
inline constexpr std::int32_t kMaxFrameCount = 0x7fffffff / 256;

// Frames of height (source height / count), one per position; frame i is the sub-image of rows
// i × height to (i + 1) × height below the top of the source's bounds, cut to the source (a frame
// outside it is empty, a last band cut short shows its leftover rows), in the place of frame 0.
class rcFilm : public Wex::rc, public iFilm {
 public:
  rcFilm(ref<rcImage> source, std::int32_t frameCount);
  std::int32_t GetFrameRange() override { return fFrameCount; }
  ref<rcImage> GetFrame(std::int32_t index) override;
  std::int32_t GetChangeCount() override;

 private:
  ref<rcImage> fSource;
  std::int32_t fFrameCount;
};

// Positions in 1/256 of a frame: position / 256 is the frame and its low 8 bits the weight of
// the following one. A film of n frames has n × 256 − 255 positions, ending on its last frame, or
// n × 256 when cyclic, fading from the last frame back into frame 0.
class rcCrossfadeFilm : public Wex::rc, public iFilm {
 public:
  rcCrossfadeFilm(ref<rcRasterResource> source, std::int32_t frameCount, bool cyclic);
  std::int32_t GetFrameRange() override { return fRange; }
  ref<rcImage> GetFrame(std::int32_t position) override;
  std::int32_t GetChangeCount() override;

 private:
  ref<rcRasterResource> fSource;
  std::int32_t fRange;
};

// The film of a description: a cross-fading one (not cyclic) or a plain one of the frame count
// over the image. A cross-fading film blends its source's pixels, so an image of another kind is
// drawn into pixels first (GetPixelImage); no image, or one without pixels, gives a film of empty
// frames.
iref<iFilm> MakeFilm(const ref<rcImage>& image, std::int32_t frameCount, bool interpolate);

}  // namespace Velto
