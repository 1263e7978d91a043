#pragma once

// The bridge from the GUI's drawing contexts to the raster library: a canvas that presents the
// pixels of the bitmap behind a context as a raster image for one draw call, and the conversions
// between the GUI's edge rectangles and the raster library's rectangles.

#include <cstdint>

#include "gui/bitmap_context.h"
#include "gui/geometry.h"
#include "raster/geometry.h"
#include "raster/image.h"

namespace Velto {

// A raster image over the 32-bit premultiplied ARGB pixels of the bitmap behind a drawing
// context, in the context's drawing coordinates: canvas pixel (x, y) is the bitmap pixel at
// (x, y) minus the context's offset. Its bounds are the context's clip bounds cut to the bitmap,
// so raster drawing never leaves the buffer. A context without a 32-bit bitmap gives an empty
// canvas, on which drawing does nothing.
//
// The canvas holds no reference: it is made for one draw call, while the context keeps the
// bitmap alive. Making it flushes the context's platform drawing into the pixels; its end tells
// the platform that the pixels changed.
class cContextCanvas : public QorRaster::Image {
 public:
  explicit cContextCanvas(Wex::rcGraphicsContext& context);
  ~cContextCanvas() override;
  cContextCanvas(const cContextCanvas&) = delete;
  cContextCanvas& operator=(const cContextCanvas&) = delete;

 private:
  struct cPlacement;
  explicit cContextCanvas(const cPlacement& placement);
  static cPlacement Place(Wex::rcGraphicsContext& context);

  Wex::rcOffscreenContext32* fBitmap;
};

// A 64-bit coordinate clamped into the 32-bit range.
using QorRaster::SaturateToInt32;

// {left, top, right - left, bottom - top}; the differences wrap in 32 bits.
QorRaster::IntRect EdgesToRect(const Wex::cRect& r);
// The same four values as doubles (the differences taken in doubles).
QorRaster::Rect EdgesToRealRect(const Wex::cRect& r);

}  // namespace Velto
