// The benchmark peers: a 512 x 512 premultiplied ARGB target in cairo and in AGG 2, each able to
// take the library's (already flattened) paths.
#pragma once

#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_scanline_u.h>
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "raster/path.h"

namespace Peers {

inline constexpr int kSize = 512;

class CairoCanvas {
 public:
  CairoCanvas()
      : fSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize)), fContext(cairo_create(fSurface)) {}
  ~CairoCanvas() {
    cairo_destroy(fContext);
    cairo_surface_destroy(fSurface);
  }
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  cairo_t* Context() const { return fContext; }
  cairo_surface_t* Surface() const { return fSurface; }
  // Waits for pending drawing and returns one pixel, which keeps the drawing from being skipped.
  std::uint32_t Probe() const {
    cairo_surface_flush(fSurface);
    return *reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(fSurface) +
                                                   cairo_image_surface_get_stride(fSurface) * (kSize / 2) + 4 * (kSize / 2));
  }
  void AddPath(const QorRaster::Path& path) const {
    for (const QorRaster::Path::Vertex& v : path.GetVertices()) {
      switch (v.kind) {
        case QorRaster::Path::kMove: cairo_move_to(fContext, v.x, v.y); break;
        case QorRaster::Path::kLine: cairo_line_to(fContext, v.x, v.y); break;
        default: cairo_close_path(fContext); break;
      }
    }
  }

 private:
  cairo_surface_t* fSurface;
  cairo_t* fContext;
};

// Premultiplied 0xAARRGGBB words are B, G, R, A bytes in memory.
class AggCanvas {
 public:
  using PixelFormat = agg::pixfmt_bgra32_pre;
  using Renderer = agg::renderer_base<PixelFormat>;

  AggCanvas()
      : fPixels(kSize * kSize), fBuffer(reinterpret_cast<agg::int8u*>(fPixels.data()), kSize, kSize, kSize * 4),
        fFormat(fBuffer), fRenderer(fFormat) {}

  agg::rasterizer_scanline_aa<>& Rasterizer() { return fRasterizer; }
  agg::scanline_u8& Scanline() { return fScanline; }
  Renderer& Base() { return fRenderer; }
  PixelFormat& Format() { return fFormat; }
  std::uint32_t Probe() const { return fPixels[kSize * (kSize / 2) + kSize / 2]; }
  void AddPath(const QorRaster::Path& path) {
    for (const QorRaster::Path::Vertex& v : path.GetVertices()) {
      switch (v.kind) {
        case QorRaster::Path::kMove: fRasterizer.move_to_d(v.x, v.y); break;
        case QorRaster::Path::kLine: fRasterizer.line_to_d(v.x, v.y); break;
        default: fRasterizer.close_polygon(); break;
      }
    }
  }

 private:
  std::vector<std::uint32_t> fPixels;
  agg::rendering_buffer fBuffer;
  PixelFormat fFormat;
  Renderer fRenderer;
  agg::rasterizer_scanline_aa<> fRasterizer;
  agg::scanline_u8 fScanline;
};

}  // namespace Peers
