#include "gui/bitmap_context.h"

#include "base/exceptions.h"
#include "base/image_size.h"

namespace Wex {

namespace {

cairo_format_t FormatFor(std::int32_t bitsPerPixel, bool opaque) {
  switch (bitsPerPixel) {
    case 32: return opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
    case 16: return CAIRO_FORMAT_RGB16_565;
    case 8: return CAIRO_FORMAT_A8;
    default: return CAIRO_FORMAT_INVALID;
  }
}

[[noreturn]] void FailCreation() { throw xExceptionWithRCString("Could not create bitmap context"); }

// The bytes per row of a valid bitmap, or -1. Within the image size limit a bitmap has at most
// 2^28 bytes.
std::int32_t RowBytes(std::int32_t width, std::int32_t height, cairo_format_t format) {
  if (!IsValidImageSize(width, height) || format == CAIRO_FORMAT_INVALID) return -1;
  const int stride = cairo_format_stride_for_width(format, width);
  return stride < 1 ? -1 : stride;
}

}  // namespace

rcBitmapGraphicsContext::rcBitmapGraphicsContext(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
                                                 bool opaque)
    : fBytesPerRow(RowBytes(width, height, FormatFor(bitsPerPixel, opaque))), fOpaque(opaque) {
  if (fBytesPerRow < 0) FailCreation();
  fPixels.reset(static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(fBytesPerRow) * height, 1)));
  if (!fPixels) FailCreation();
  cairo_surface_t* surface = cairo_image_surface_create_for_data(fPixels.get(), FormatFor(bitsPerPixel, opaque),
                                                                 width, height, fBytesPerRow);
  cairo_t* context = cairo_create(surface);
  cairo_surface_destroy(surface);
  if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(context);
    FailCreation();
  }
  SetContext(context);
}

rcBitmapGraphicsContext::~rcBitmapGraphicsContext() {
  // The surface borrows the pixels: cut it loose from them (whoever still holds it) and destroy
  // the context before the buffer goes.
  cairo_surface_finish(GetSurface());
  DestroyContext();
}

cRect rcBitmapGraphicsContext::GetBounds() const {
  return {0, 0, cairo_image_surface_get_width(GetSurface()), cairo_image_surface_get_height(GetSurface())};
}

std::int32_t rcBitmapGraphicsContext::GetBitsPerPixel() const {
  switch (cairo_image_surface_get_format(GetSurface())) {
    case CAIRO_FORMAT_ARGB32:
    case CAIRO_FORMAT_RGB24: return 32;
    case CAIRO_FORMAT_RGB16_565: return 16;
    case CAIRO_FORMAT_A8: return 8;
    default: return 0;
  }
}

std::uint8_t* rcBitmapGraphicsContext::GetPixels() {
  cairo_surface_flush(GetSurface());
  return fPixels.get();
}

void rcBitmapGraphicsContext::PixelsChanged() { cairo_surface_mark_dirty(GetSurface()); }

void rcBitmapGraphicsContext::CheckImage() const {
  if (cairo_surface_status(GetSurface()) != CAIRO_STATUS_SUCCESS) {
    throw xExceptionWithRCString("Could not create image from graphics context");
  }
}

void rcBitmapGraphicsContext::DrawInto(rcGraphicsContext& target, const cPoint& p) {
  CheckImage();
  const cRect bounds = GetBounds();
  Composite(target, p.fX, p.fY, bounds.Moved(p));
}

void rcBitmapGraphicsContext::DrawPartInto(rcGraphicsContext& target, const cRect& r, const cPoint& p) {
  CheckImage();
  const cRect s = r.Moved(-GetOffset());
  const cRect c = Intersection(s, GetBounds());
  if (c.Width() <= 0 || c.Height() <= 0) return;
  const double originX = double(p.fX) - s.fLeft;
  const double originY = double(p.fY) - s.fTop;
  Composite(target, originX, originY, c.Moved({WrapSub(p.fX, s.fLeft), WrapSub(p.fY, s.fTop)}));
}

void rcBitmapGraphicsContext::Composite(rcGraphicsContext& target, double originX, double originY,
                                        const cRect& area) {
  cairo_t* cr = target.GetContext();
  cairo_surface_t* surface = GetSurface();
  cairo_surface_flush(surface);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
  cairo_matrix_t placement;
  cairo_matrix_init_translate(&placement, -originX, -originY);
  cairo_pattern_set_matrix(pattern, &placement);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);

  const Platform::Rect clip = ToCGRect(area);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, clip.x, clip.y, clip.width, clip.height);
  if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_A8 && fOpaque) {
    // Grey levels: white through the bitmap's bytes over black.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_mask(cr, pattern);
  } else {
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  cairo_pattern_destroy(pattern);
}

void DrawBitmapContext(rcGraphicsContext& target, rcBitmapGraphicsContext& source, const cRect& r, const cPoint& p) {
  source.DrawPartInto(target, r, p);
}

}  // namespace Wex
