// Filling shapes of 8 to 256 pixels into a 512 x 512 image with a solid colour: the scan
// converter and compositing of every fill, against cairo and AGG 2 on the same flattened paths.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/raster/peers.h"
#include "raster/combine.h"
#include "raster/image.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "raster/tests/sample_shapes.h"

namespace {

using QorRaster::Testing::SampleShape;

constexpr QorRaster::Pixel kColour = 0xFF3366CC;

void FillQorRaster(benchmark::State& state, const SampleShape& shape) {
  using namespace QorRaster;
  const IntRect bounds(0, 0, Peers::kSize, Peers::kSize);
  Image image(bounds);
  SolidPaint colour(kColour);
  const FillRule* rule = shape.evenOdd ? static_cast<const FillRule*>(&kEvenOddRule) : &kNonZeroRule;
  for (auto _ : state) {
    PolygonMask mask(shape.path, bounds, rule);
    MaskedPaint fill(&colour, &mask);
    image.Draw(fill);
    benchmark::DoNotOptimize(*image.At(Peers::kSize / 2, Peers::kSize / 2));
  }
}

void FillCairo(benchmark::State& state, const SampleShape& shape) {
  Peers::CairoCanvas canvas;
  cairo_t* cr = canvas.Context();
  cairo_set_source_rgb(cr, 0x33 / 255.0, 0x66 / 255.0, 0xCC / 255.0);
  cairo_set_fill_rule(cr, shape.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  for (auto _ : state) {
    canvas.AddPath(shape.path);
    cairo_fill(cr);
    benchmark::DoNotOptimize(canvas.Probe());
  }
}

void FillAgg(benchmark::State& state, const SampleShape& shape) {
  Peers::AggCanvas canvas;
  canvas.Rasterizer().filling_rule(shape.evenOdd ? agg::fill_even_odd : agg::fill_non_zero);
  const agg::rgba8 colour(0x33, 0x66, 0xCC, 0xFF);
  for (auto _ : state) {
    canvas.Rasterizer().reset();
    canvas.AddPath(shape.path);
    agg::render_scanlines_aa_solid(canvas.Rasterizer(), canvas.Scanline(), canvas.Base(), colour);
    benchmark::DoNotOptimize(canvas.Probe());
  }
}

// One benchmark per library, shape and size, named Fill/<library>/<shape>/<size>.
const bool kRegistered = [] {
  for (const double size : QorRaster::Testing::kSampleSizes) {
    for (const SampleShape& shape : QorRaster::Testing::SampleShapes(size)) {
      const std::string suffix = "/" + shape.name + "/" + std::to_string(static_cast<int>(size));
      benchmark::RegisterBenchmark(("Fill/QorRaster" + suffix).c_str(), FillQorRaster, shape);
      benchmark::RegisterBenchmark(("Fill/Cairo" + suffix).c_str(), FillCairo, shape);
      benchmark::RegisterBenchmark(("Fill/AGG" + suffix).c_str(), FillAgg, shape);
    }
  }
  return true;
}();

}  // namespace
