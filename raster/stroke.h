// Stroking: the outline of a path's stroke as closed polygons which, filled with the non-zero
// rule, cover every point within half the stroke width of the path, with caps at open ends and
// joints where segments meet. Round caps and curve joints are flattened like arcs.
#pragma once

#include <cstdint>

#include "raster/path.h"

namespace QorRaster {

enum class CapStyle : std::int32_t { kButt = 0, kRound = 1, kSquare = 2 };
// Any other value draws nothing at the outer side of a joint.
enum class JointStyle : std::int32_t { kBevel = 0, kCurve = 1, kMiter = 2 };

// One segment of the subpath being stroked. Segments are kept in an array in which each one's end
// point is the next record's start; a last record {end point, 0, 0, 0} ends the array.
struct StrokeSegment {
  double x;
  double y;
  // The direction scaled to half the stroke width.
  double hx;
  double hy;
  // The length in half stroke widths.
  double length;
};

// Appends the outline points where segment a meets segment b on one side: direction +1 walks the
// segments forward along the path's left-hand offset, -1 backward along the other side. miter is
// -sqrt(limit^2 - 1) for miter joints; cosStep and sinStep rotate curve joints by one arc step.
void AddStrokeJoint(Path& output, const StrokeSegment* a, const StrokeSegment* b, JointStyle joints, double direction,
                    double miter, double cosStep, double sinStep);

// Appends the points of a cap at the end of segment in travel direction +1 (its end) or -1 (its
// start).
void AddStrokeCap(Path& output, const StrokeSegment* segment, CapStyle caps, double direction, double cosStep,
                  double sinStep);

}  // namespace QorRaster
