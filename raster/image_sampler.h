// Images seen through an affine transform: each destination pixel is mapped back into the image
// with the inverse transform in 32.32 fixed point and sampled with 8-bit interpolation weights.
// At set-up the transform is classified, so that translations copy, integer mappings pick, and
// only real resampling interpolates. Pixel images and coverage images share every line of it.
#pragma once

#include <cstdint>

#include "raster/geometry.h"
#include "raster/image.h"
#include "raster/source.h"
#include "raster/transform.h"

namespace QorRaster {

template <typename Value>
class ImageSampler {
 public:
  enum Kind : std::int32_t {
    kDegenerate = 0,       // nothing to sample: zeros everywhere
    kTranslation = 1,      // whole-pixel offset: runs point into the image
    kIntegerMapping = 2,   // whole-pixel steps: nearest pixels
    kHorizontalStretch = 3,  // rows map to rows, columns are magnified or mirrored
    kAcross = 4,           // interpolation across only
    kDown = 5,             // interpolation down only
    kBilinear = 6,
  };

  // The transform maps image coordinates to destination coordinates; clip (in image coordinates)
  // limits the part of the image that is used. With repeat the image tiles the whole plane,
  // otherwise it is transparent outside. The image is borrowed and must outlive the sampler.
  ImageSampler(const BasicImage<Value>& image, bool repeat, const Transform& transform, const IntRect& clip);

  IntRect GetBounds() const { return fBounds; }
  Kind GetKind() const { return fKind; }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) const;

 private:
  // A source position relative to the source rectangle's top-left, in 32.32 fixed point. Far
  // destination pixels map far away, so positions are wider than 64 bits.
  using Wide = __int128;
  struct Position {
    Wide u;
    Wide v;
  };

  // Classifies the transform and sets the bounds and the inverse mapping.
  void Setup(const Transform& transform);
  Position StartPosition(std::int32_t x, std::int32_t y) const;
  // Samples count values of row y from column x, all inside the bounds.
  void Sample(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) const;
  // Each appends one stretch of runs from the position on, moves the position past it and
  // returns the number of values produced (at least 1, at most count).
  std::int32_t SampleInterior(Position& p, std::int32_t count, SpanList<Value>& list) const;
  std::int32_t SampleBorder(Position& p, std::int32_t count, SpanList<Value>& list) const;
  std::int32_t SkipOutside(Position& p, std::int32_t count, SpanList<Value>& list) const;
  // The element at column u and row v of the source rectangle, one outside included: transparent
  // or, when repeating, from the opposite edge.
  Value Fetch(std::int64_t u, std::int64_t v) const;
  bool IsBeyondSameSide(const Position& p, const Position& q) const;

  IntRect fSource;
  std::int32_t fStride = 0;
  const Value* fFirst = nullptr;
  bool fOpaque;
  bool fRepeat;
  IntRect fBounds = WholePlaneRect;
  Kind fKind = kDegenerate;
  std::int64_t fDuDx = 0;
  std::int64_t fDvDx = 0;
  std::int64_t fDuDy = 0;
  std::int64_t fDvDy = 0;
  std::int64_t fUOrigin = 0;
  std::int64_t fVOrigin = 0;
  std::int64_t fPixelStep = 0;
};

// A pixel or coverage image as a source seen through a transform.
template <typename Value>
class TransformedSource final : public Source<Value> {
 public:
  TransformedSource(const BasicImage<Value>& image, bool repeat, const Transform& transform, const IntRect& clip)
      : fSampler(image, repeat, transform, clip) {}

  IntRect GetBounds() const override { return fSampler.GetBounds(); }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) override {
    fSampler.Render(x, y, count, list);
  }
  const ImageSampler<Value>& GetSampler() const { return fSampler; }

 private:
  ImageSampler<Value> fSampler;
};

using TransformedPaint = TransformedSource<Pixel>;
using TransformedMask = TransformedSource<Coverage>;

extern template class ImageSampler<Pixel>;
extern template class ImageSampler<Coverage>;

}  // namespace QorRaster
