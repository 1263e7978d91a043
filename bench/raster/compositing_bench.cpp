// Source-over of a solid colour through anti-aliased polygon coverage into a 512x512 image: the
// inner loop of every fill, against cairo's mask compositing of the same coverage.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "raster/combine.h"
#include "raster/image.h"
#include "raster/rle.h"
#include "raster/run_optimized.h"
#include "raster/solid.h"

namespace {

constexpr int kSize = 512;

// Coverage of a twelve-pointed star (outer radius 240, inner 110), 4x4 samples per pixel.
const std::vector<std::uint8_t>& StarCoverage() {
  static const std::vector<std::uint8_t> coverage = [] {
    std::vector<double> xs;
    std::vector<double> ys;
    for (int k = 0; k < 24; ++k) {
      const double angle = k * std::numbers::pi / 12;
      const double r = k % 2 == 0 ? 240.0 : 110.0;
      xs.push_back(256 + r * std::sin(angle));
      ys.push_back(256 - r * std::cos(angle));
    }
    const auto inside = [&](double px, double py) {
      bool in = false;
      for (std::size_t i = 0, j = xs.size() - 1; i < xs.size(); j = i++) {
        if ((ys[i] > py) != (ys[j] > py) && px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i]) in = !in;
      }
      return in;
    };
    std::vector<std::uint8_t> c(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
        }
        c[static_cast<std::size_t>(y * kSize + x)] = static_cast<std::uint8_t>(hits * 255 / 16);
      }
    }
    return c;
  }();
  return coverage;
}

QorRaster::Pixel Colour(int alpha) {
  const auto a = static_cast<QorRaster::Pixel>(alpha);
  return a << 24 | (0x33 * a / 255) << 16 | (0x66 * a / 255) << 8 | (0xCC * a / 255);
}

// Arguments: colour alpha; coverage as run-length runs (1, as a polygon mask yields them) or
// as one literal run per row (0).
void BM_QorRaster_SolidOverCoverage(benchmark::State& state) {
  using namespace QorRaster;
  const IntRect bounds(0, 0, kSize, kSize);
  MaskImage coverage(bounds);
  std::memcpy(coverage.At(0, 0), StarCoverage().data(), StarCoverage().size());
  RunOptimizedMask runs(&coverage);  // constant stretches as repeated runs, as a polygon mask yields them
  RLEMask packed(bounds, runs);
  Mask* mask = state.range(1) != 0 ? static_cast<Mask*>(&packed) : &coverage;
  Image image(bounds);
  SolidPaint background(0xFF202020);
  image.Render(background);
  SolidPaint colour(Colour(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    MaskedPaint fill(&colour, mask);
    image.Draw(fill);
    benchmark::DoNotOptimize(*image.At(256, 256));
  }
  state.SetItemsProcessed(state.iterations() * kSize * kSize);
  state.counters["runs_per_row"] =
      state.range(1) != 0 ? static_cast<double>(packed.GetRunWords().size()) / kSize : 1.0;
}
BENCHMARK(BM_QorRaster_SolidOverCoverage)->ArgsProduct({{255, 128}, {1, 0}});

void BM_Cairo_SolidOverCoverage(benchmark::State& state) {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, kSize, kSize);
  cairo_surface_flush(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  for (int y = 0; y < kSize; ++y) {
    std::memcpy(cairo_image_surface_get_data(mask) + y * stride, StarCoverage().data() + y * kSize, kSize);
  }
  cairo_surface_mark_dirty(mask);
  cairo_t* cr = cairo_create(image);
  cairo_set_source_rgb(cr, 0x20 / 255.0, 0x20 / 255.0, 0x20 / 255.0);
  cairo_paint(cr);
  const double alpha = static_cast<double>(state.range(0)) / 255.0;
  for (auto _ : state) {
    cairo_set_source_rgba(cr, 0x33 / 255.0, 0x66 / 255.0, 0xCC / 255.0, alpha);
    cairo_mask_surface(cr, mask, 0, 0);
    cairo_surface_flush(image);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(image)[0]);
  }
  state.SetItemsProcessed(state.iterations() * kSize * kSize);
  cairo_destroy(cr);
  cairo_surface_destroy(mask);
  cairo_surface_destroy(image);
}
BENCHMARK(BM_Cairo_SolidOverCoverage)->Arg(255)->Arg(128);

}  // namespace
