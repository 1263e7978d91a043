// The shapes on which the scan converter is compared with other rasterisers, for accuracy in the
// tests and for speed in the benchmarks: rectangles, a rotated rectangle, random polygons under
// both fill rules and a circle, at a given size centred in a 512 x 512 image.
#pragma once

#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "raster/path.h"
#include "raster/transform.h"

namespace QorRaster::Testing {

inline constexpr std::int32_t kSampleImageSize = 512;

struct SampleShape {
  std::string name;
  Path path;
  bool evenOdd;
};

inline Path RandomPolygon(std::int32_t vertices, double size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> coordinate(-size / 2, size / 2);
  const double centre = kSampleImageSize / 2;
  // Each vertex draws its y, then its x, in one order whatever the compiler.
  const auto next = [&] {
    const double y = coordinate(random);
    return Point(centre + coordinate(random), centre + y);
  };
  Path p;
  const Point first = next();
  p.MoveTo(first.x, first.y);
  for (std::int32_t i = 1; i < vertices; ++i) {
    const Point v = next();
    p.LineTo(v.x, v.y);
  }
  return p.Close();
}

inline std::vector<SampleShape> SampleShapes(double size) {
  const double centre = kSampleImageSize / 2;
  const double corner = centre - size / 2;
  std::vector<SampleShape> shapes;
  Path aligned;
  aligned.AddRect(corner, corner, size, size);
  shapes.push_back({"aligned-rect", aligned, false});
  Path unaligned;
  unaligned.AddRect(corner + 0.3, corner + 0.55, size - 0.45, size * 0.75 + 0.2);
  shapes.push_back({"unaligned-rect", unaligned, false});
  Path rotated;
  rotated.AddRect(corner, corner + size / 4, size, size / 2);
  rotated.Transform(Transform().RotateAround(std::numbers::pi / 6, centre, centre));
  shapes.push_back({"rotated-rect", rotated, false});
  shapes.push_back({"polygon10-nonzero", RandomPolygon(10, size, 10), false});
  shapes.push_back({"polygon10-evenodd", RandomPolygon(10, size, 10), true});
  shapes.push_back({"polygon40-nonzero", RandomPolygon(40, size, 40), false});
  shapes.push_back({"polygon40-evenodd", RandomPolygon(40, size, 40), true});
  Path circle;
  circle.AddCircle(centre, centre, size / 2, 1.0);
  shapes.push_back({"circle", circle, false});
  return shapes;
}

inline constexpr double kSampleSizes[] = {8, 32, 128, 256};

}  // namespace QorRaster::Testing
