// Stroking a 40-vertex polyline with round joints at widths 1, 3 and 10, and drawing a 256 x 256
// image rotated by 30 degrees with bilinear sampling, into a 512 x 512 image: against cairo and
// AGG 2 doing the same.
#include <benchmark/benchmark.h>

#include <agg_conv_stroke.h>
#include <agg_path_storage.h>
#include <agg_span_allocator.h>
#include <agg_span_image_filter_rgba.h>
#include <agg_span_interpolator_linear.h>
#include <agg_trans_affine.h>

#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "bench/raster/peers.h"
#include "raster/combine.h"
#include "raster/image.h"
#include "raster/image_sampler.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "raster/stroke.h"

namespace {

constexpr QorRaster::Pixel kColour = 0xFF3366CC;

// Forty random vertices across the middle of the image.
const QorRaster::Path& Polyline() {
  static const QorRaster::Path path = [] {
    std::mt19937 random(40);
    std::uniform_real_distribution<double> coordinate(64, Peers::kSize - 64);
    QorRaster::Path p;
    p.MoveTo(coordinate(random), coordinate(random));
    for (int i = 1; i < 40; ++i) {
      p.LineTo(coordinate(random), coordinate(random));
    }
    return p;
  }();
  return path;
}

void StrokeQorRaster(benchmark::State& state) {
  using namespace QorRaster;
  const IntRect bounds(0, 0, Peers::kSize, Peers::kSize);
  Image image(bounds);
  SolidPaint colour(kColour);
  const double width = static_cast<double>(state.range(0));
  for (auto _ : state) {
    Path outline = Polyline();
    outline.Stroke(CapStyle::kButt, JointStyle::kCurve, width, 4, 1.0);
    PolygonMask mask(outline, bounds, &kNonZeroRule);
    MaskedPaint fill(&colour, &mask);
    image.Draw(fill);
    benchmark::DoNotOptimize(*image.At(Peers::kSize / 2, Peers::kSize / 2));
  }
}
BENCHMARK(StrokeQorRaster)->Name("Stroke/QorRaster/round")->Arg(1)->Arg(3)->Arg(10);

void StrokeCairo(benchmark::State& state) {
  Peers::CairoCanvas canvas;
  cairo_t* cr = canvas.Context();
  cairo_set_source_rgb(cr, 0x33 / 255.0, 0x66 / 255.0, 0xCC / 255.0);
  cairo_set_line_width(cr, static_cast<double>(state.range(0)));
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (auto _ : state) {
    canvas.AddPath(Polyline());
    cairo_stroke(cr);
    benchmark::DoNotOptimize(canvas.Probe());
  }
}
BENCHMARK(StrokeCairo)->Name("Stroke/Cairo/round")->Arg(1)->Arg(3)->Arg(10);

void StrokeAgg(benchmark::State& state) {
  Peers::AggCanvas canvas;
  const agg::rgba8 colour(0x33, 0x66, 0xCC, 0xFF);
  for (auto _ : state) {
    agg::path_storage path;
    for (const QorRaster::Path::Vertex& v : Polyline().GetVertices()) {
      v.kind == QorRaster::Path::kMove ? path.move_to(v.x, v.y) : path.line_to(v.x, v.y);
    }
    agg::conv_stroke<agg::path_storage> stroke(path);
    stroke.width(static_cast<double>(state.range(0)));
    stroke.line_join(agg::round_join);
    stroke.line_cap(agg::butt_cap);
    canvas.Rasterizer().reset();
    canvas.Rasterizer().add_path(stroke);
    agg::render_scanlines_aa_solid(canvas.Rasterizer(), canvas.Scanline(), canvas.Base(), colour);
    benchmark::DoNotOptimize(canvas.Probe());
  }
}
BENCHMARK(StrokeAgg)->Name("Stroke/AGG/round")->Arg(1)->Arg(3)->Arg(10);

// An opaque 256 x 256 picture: colour ramps across and down, with a checker on top.
constexpr int kPictureSize = 256;

std::uint32_t PictureAt(int x, int y) {
  const std::uint32_t checker = ((x / 16 + y / 16) % 2) * 0x40;
  return 0xFF000000u | static_cast<std::uint32_t>(x / 2 + checker) << 16 | static_cast<std::uint32_t>(y / 2 + checker) << 8 |
         static_cast<std::uint32_t>(0x80 + (x + y) / 8);
}

// Rotation by 30 degrees about the picture's centre, which sits at the centre of the target.
QorRaster::Transform Rotation() {
  const double offset = (Peers::kSize - kPictureSize) / 2.0;
  return QorRaster::Transform()
      .Translate(offset, offset)
      .RotateAround(std::numbers::pi / 6, Peers::kSize / 2.0, Peers::kSize / 2.0);
}

void RotatedImageQorRaster(benchmark::State& state) {
  using namespace QorRaster;
  Image picture(IntRect(0, 0, kPictureSize, kPictureSize));
  for (int y = 0; y < kPictureSize; ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      *picture.At(x, y) = PictureAt(x, y);
    }
  }
  picture.SetOpaque(true);
  Image image(IntRect(0, 0, Peers::kSize, Peers::kSize));
  for (auto _ : state) {
    TransformedPaint rotated(picture, false, Rotation(), picture.GetBounds());
    image.Draw(rotated);
    benchmark::DoNotOptimize(*image.At(Peers::kSize / 2, Peers::kSize / 2));
  }
}
BENCHMARK(RotatedImageQorRaster)->Name("RotatedImage/QorRaster/bilinear");

void RotatedImageCairo(benchmark::State& state) {
  // The picture is opaque, so cairo gets it in its format without alpha.
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPictureSize, kPictureSize);
  cairo_surface_flush(picture);
  const int stride = cairo_image_surface_get_stride(picture);
  for (int y = 0; y < kPictureSize; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(picture) + y * stride);
    for (int x = 0; x < kPictureSize; ++x) {
      row[x] = PictureAt(x, y);
    }
  }
  cairo_surface_mark_dirty(picture);
  Peers::CairoCanvas canvas;
  cairo_t* cr = canvas.Context();
  const QorRaster::Transform t = Rotation();
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, t.a, t.d, t.b, t.e, t.c, t.f);
  for (auto _ : state) {
    cairo_save(cr);
    cairo_transform(cr, &matrix);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    benchmark::DoNotOptimize(canvas.Probe());
  }
  cairo_surface_destroy(picture);
}
BENCHMARK(RotatedImageCairo)->Name("RotatedImage/Cairo/bilinear");

void RotatedImageAgg(benchmark::State& state) {
  std::vector<std::uint32_t> pixels(kPictureSize * kPictureSize);
  for (int y = 0; y < kPictureSize; ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      pixels[y * kPictureSize + x] = PictureAt(x, y);
    }
  }
  agg::rendering_buffer pictureBuffer(reinterpret_cast<agg::int8u*>(pixels.data()), kPictureSize, kPictureSize,
                                      kPictureSize * 4);
  Peers::AggCanvas::PixelFormat pictureFormat(pictureBuffer);
  Peers::AggCanvas canvas;
  const QorRaster::Transform t = Rotation();
  const agg::trans_affine forward(t.a, t.d, t.b, t.e, t.c, t.f);
  agg::trans_affine inverse = forward;
  inverse.invert();
  using Interpolator = agg::span_interpolator_linear<>;
  Interpolator interpolator(inverse);
  agg::span_image_filter_rgba_bilinear_clip<Peers::AggCanvas::PixelFormat, Interpolator> sampler(
      pictureFormat, agg::rgba8(0, 0, 0, 0), interpolator);
  agg::span_allocator<agg::rgba8> allocator;
  for (auto _ : state) {
    // The rotated picture's outline, filled with its samples.
    canvas.Rasterizer().reset();
    const double corners[4][2] = {{0, 0}, {kPictureSize, 0}, {kPictureSize, kPictureSize}, {0, kPictureSize}};
    for (int i = 0; i < 4; ++i) {
      double x = corners[i][0];
      double y = corners[i][1];
      forward.transform(&x, &y);
      i == 0 ? canvas.Rasterizer().move_to_d(x, y) : canvas.Rasterizer().line_to_d(x, y);
    }
    agg::render_scanlines_aa(canvas.Rasterizer(), canvas.Scanline(), canvas.Base(), allocator, sampler);
    benchmark::DoNotOptimize(canvas.Probe());
  }
}
BENCHMARK(RotatedImageAgg)->Name("RotatedImage/AGG/bilinear");

}  // namespace
