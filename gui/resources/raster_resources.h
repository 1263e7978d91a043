#pragma once

// The raster resources that the registry decodes from PNG pictures: 32-bit colour images and
// 8-bit coverage masks, unpacked or run-length packed.

#include <cstdint>

#include "gui/resources/image.h"
#include "raster/filter.h"
#include "raster/image.h"
#include "raster/rle.h"

namespace Velto {

// Premultiplied ARGB pixels over {0, 0, width, height}, cleared; a side of 0 or less gives an
// empty image. `opaque` declares every pixel opaque, which lets drawing copy instead of blend.
class rcImageResource : public rcRasterResource {
 public:
  rcImageResource(std::int32_t width, std::int32_t height, bool opaque);
  // Over the bounds instead of {0, 0, width, height}.
  rcImageResource(const QorRaster::IntRect& bounds, bool opaque);
  QorRaster::Paint& GetPaint() override { return fImage; }
  // The pixels, row after row with a stride of the width, for filling.
  QorRaster::Image& GetRasterImage() { return fImage; }

 private:
  QorRaster::Image fImage;
};

// Coverage over {0, 0, width, height}, cleared; a side of 0 or less gives an empty mask.
class rcMaskResource : public rcRasterResource {
 public:
  rcMaskResource(std::int32_t width, std::int32_t height);
  QorRaster::Paint& GetPaint() override { return fPaint; }
  QorRaster::Mask* GetMask() override { return &fMask; }
  // The coverage, row after row with a stride of the width, for filling.
  QorRaster::MaskImage& GetMaskImage() { return fMask; }

 private:
  QorRaster::MaskImage fMask;
  QorRaster::MaskPaint fPaint{&fMask};
};

// The paint's output over the rectangle, packed in runs; equal and opaque stretches become
// repeated and opaque runs. The paint is not kept.
class rcRLEImageResource : public rcRasterResource {
 public:
  rcRLEImageResource(const QorRaster::IntRect& rect, QorRaster::Paint& source);
  QorRaster::Paint& GetPaint() override { return fImage; }

 private:
  QorRaster::RLEImage fImage;
};

// The mask's output over the rectangle, packed in runs; the mask is not kept.
class rcRLEMaskResource : public rcRasterResource {
 public:
  rcRLEMaskResource(const QorRaster::IntRect& rect, QorRaster::Mask& source);
  QorRaster::Paint& GetPaint() override { return fPaint; }
  QorRaster::Mask* GetMask() override { return &fMask; }

 private:
  QorRaster::RLEMask fMask;
  QorRaster::MaskPaint fPaint{&fMask};
};

// The image's pixels as an image resource: the image itself when it is one, else a new one over the
// image's bounds, not opaque, into which the image is drawn once, so that its pixels keep their
// place. None for no image or an empty one. Images never change, so views take their pixels once,
// when they are made.
ref<rcImageResource> GetPixelImage(const ref<rcImage>& image);

}  // namespace Velto
