// The scan converter's coverage agrees with cairo's on the sample shapes: on average over each
// shape's bounds within 1% of full coverage. Polygons with a vertex or more per pixel of their
// width are the exception: many of their pixels hold several crossing edges, and summing signed
// areas per pixel before applying the fill rule (as cell-based rasterisers such as AGG also do)
// cannot tell which part of such a pixel winds how often, while cairo samples sub-scanlines.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "raster/image.h"
#include "raster/polygon_mask.h"
#include "raster/tests/sample_shapes.h"

namespace QorRaster {
namespace {

using Testing::kSampleImageSize;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// Coverage of the path as cairo fills it into an A8 surface with its default anti-aliasing.
std::vector<Coverage> CairoCoverage(const Path& path, bool evenOdd) {
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_A8, kSampleImageSize, kSampleImageSize));
  std::unique_ptr<cairo_t, ContextDeleter> cr(cairo_create(surface.get()));
  for (const Path::Vertex& v : path.GetVertices()) {
    switch (v.kind) {
      case Path::kMove: cairo_move_to(cr.get(), v.x, v.y); break;
      case Path::kLine: cairo_line_to(cr.get(), v.x, v.y); break;
      default: cairo_close_path(cr.get()); break;
    }
  }
  cairo_set_fill_rule(cr.get(), evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr.get());
  cairo_surface_flush(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  std::vector<Coverage> out;
  for (std::int32_t y = 0; y < kSampleImageSize; ++y) {
    out.insert(out.end(), data + y * stride, data + y * stride + kSampleImageSize);
  }
  return out;
}

TEST(CairoAgreementTest, CoverageMatchesCairoWithinOnePercentOnAverage) {
  const IntRect area(0, 0, kSampleImageSize, kSampleImageSize);
  for (const double size : Testing::kSampleSizes) {
    for (const Testing::SampleShape& shape : Testing::SampleShapes(size)) {
      PolygonMask mask(shape.path, area, shape.evenOdd ? static_cast<const FillRule*>(&kEvenOddRule) : &kNonZeroRule);
      const IntRect bounds = mask.GetBounds();
      ASSERT_FALSE(bounds.IsEmpty()) << shape.name;
      MaskImage ours(area);
      ours.Render(mask);
      const std::vector<Coverage> theirs = CairoCoverage(shape.path, shape.evenOdd);
      double difference = 0;
      std::int64_t covered = 0;
      for (std::int32_t y = bounds.y; y < bounds.GetBottom(); ++y) {
        for (std::int32_t x = bounds.x; x < bounds.GetRight(); ++x) {
          difference += std::abs(*ours.At(x, y) - theirs[y * kSampleImageSize + x]);
          covered += *ours.At(x, y);
        }
      }
      const double pixels = static_cast<double>(bounds.width) * bounds.height;
      const std::size_t corners = shape.path.GetVertices().size() - 1;  // the close is no corner
      const bool dense = shape.name.starts_with("polygon") && static_cast<double>(corners) >= size;
      EXPECT_LE(difference / pixels / 255, dense ? 0.15 : 0.01) << shape.name << " at size " << size;
      EXPECT_GT(covered, 0) << shape.name << " at size " << size;
    }
  }
}

}  // namespace
}  // namespace QorRaster
