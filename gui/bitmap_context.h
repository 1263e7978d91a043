#pragma once

// Drawing contexts over a pixel buffer that the context owns, for off-screen drawing, and the
// copying of such bitmaps into other contexts.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "gui/graphics_context.h"

namespace Wex {

// Pixel layouts by bits per pixel:
//  32: 32-bit words 0xAARRGGBB in native byte order, premultiplied; opaque bitmaps ignore the
//      top byte (it need not be 0xFF after drawing). The same words as the raster library's.
//  16: 5-6-5 RGB words (the closest layout the platform offers to 5-5-5); rows are padded to a
//      multiple of 4 bytes, so odd widths have 2 more bytes per row than 2 × width.
//   8: one byte per pixel, an alpha mask; an opaque bitmap of this size is drawn as grey levels.
//      Rows are padded to a multiple of 4 bytes here as well.
// New bitmaps are all zeros.
class rcBitmapGraphicsContext : public rcGraphicsContext {
 public:
  // Throws xExceptionWithRCString "Could not create bitmap context", without allocating, for a
  // size beyond the image size limit (Wex::IsValidImageSize) or bits per pixel other than 8, 16
  // or 32.
  rcBitmapGraphicsContext(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel, bool opaque);
  ~rcBitmapGraphicsContext() override;

  // (0, 0, width, height).
  virtual cRect GetBounds() const;
  virtual std::int32_t GetBitsPerPixel() const;
  // The whole bitmap into the target with its top-left pixel at p (target drawing coordinates).
  virtual void DrawInto(rcGraphicsContext& target, const cPoint& p);
  // The part r (in this context's drawing coordinates) into the target with r's top-left at p;
  // what lies outside the bitmap is skipped.
  virtual void DrawPartInto(rcGraphicsContext& target, const cRect& r, const cPoint& p);

  bool IsOpaque() const { return fOpaque; }
  std::int32_t GetBytesPerRow() const { return fBytesPerRow; }
  // Direct pixel access: GetPixels finishes pending drawing so that the bytes are current;
  // PixelsChanged must follow any writing before the context draws or is drawn again.
  std::uint8_t* GetPixels();
  void PixelsChanged();

 private:
  struct cFree {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };

  // Composites the bitmap, placed with its top-left pixel at origin, inside area of the target.
  void Composite(rcGraphicsContext& target, double originX, double originY, const cRect& area);
  cairo_surface_t* GetSurface() const { return cairo_get_target(GetContext()); }
  void CheckImage() const;

  std::int32_t fBytesPerRow;
  std::unique_ptr<std::uint8_t, cFree> fPixels;
  bool fOpaque;
};

// A 16-bit bitmap whose pixels raster code may fill.
class rcOffscreenContext16 : public rcBitmapGraphicsContext {
 public:
  rcOffscreenContext16(std::int32_t width, std::int32_t height) : rcBitmapGraphicsContext(width, height, 16, true) {}
  ref<rcOffscreenContext16> GetPixelContext16() override { return ref<rcOffscreenContext16>(this); }
};

// A 32-bit bitmap whose pixels raster code may fill.
class rcOffscreenContext32 : public rcBitmapGraphicsContext {
 public:
  rcOffscreenContext32(std::int32_t width, std::int32_t height, bool opaque)
      : rcBitmapGraphicsContext(width, height, 32, opaque) {}
  ref<rcOffscreenContext32> GetPixelContext32() override { return ref<rcOffscreenContext32>(this); }
};

// Draws the part r of the source into the target with r's top-left at p.
void DrawBitmapContext(rcGraphicsContext& target, rcBitmapGraphicsContext& source, const cRect& r, const cPoint& p);

}  // namespace Wex
