#include "raster/stroke.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "raster/arc_step.h"
#include "raster/subpath_walk.h"

namespace QorRaster {
namespace {

// A full turn at the finest arc step, and a little more: round caps and curve joints turn by
// less, so only points that are no numbers (from an infinite width) ever reach this bound.
constexpr std::int32_t kMaxTurnSteps = static_cast<std::int32_t>(2 * std::numbers::pi / kMinArcStep) + 2;

struct Vector {
  double x;
  double y;
};

Vector operator+(Vector a, Vector b) { return {a.x + b.x, a.y + b.y}; }
Vector operator-(Vector a, Vector b) { return {a.x - b.x, a.y - b.y}; }
Vector operator*(double k, Vector a) { return {k * a.x, k * a.y}; }
double Dot(Vector a, Vector b) { return a.x * b.x + a.y * b.y; }
Vector Rotate(Vector r, double c, double s) { return {c * r.x - s * r.y, s * r.x + c * r.y}; }

// A segment seen in one travel direction: its direction, its offset to the travelled side, and
// its travel start and end.
struct Travel {
  Vector h;
  Vector n;
  Vector start;
  Vector end;

  Travel(const StrokeSegment* segment, double direction)
      : h{direction * segment->hx, direction * segment->hy}, n{h.y, -h.x} {
    const Vector from{segment->x, segment->y};
    const Vector to{segment[1].x, segment[1].y};
    start = direction > 0 ? from : to;
    end = direction > 0 ? to : from;
  }
};

void Append(Path& output, Vector p) { output.LineTo(p.x, p.y); }

}  // namespace

void AddStrokeJoint(Path& output, const StrokeSegment* a, const StrokeSegment* b, JointStyle joints, double direction,
                    double miter, double cosStep, double sinStep) {
  const Travel ta(a, direction);
  const Travel tb(b, direction);
  const Vector oA0 = ta.start + ta.n;
  const Vector oA1 = ta.end + ta.n;
  const Vector oB0 = tb.start + tb.n;
  const Vector joint = tb.start;
  // Where the two offset lines cross, in half widths along a from oA0 and along b from oB0.
  const double cross = tb.h.x * ta.h.y - tb.h.y * ta.h.x;
  double tA = 0;
  double tB = 0;
  if (std::fabs(cross) >= 1e-8) {
    tA = ((oB0.y - oA0.y) * tb.h.x + (oA0.x - oB0.x) * tb.h.y) / cross;
    tB = ((oB0.y - oA0.y) * ta.h.x + (oA0.x - oB0.x) * ta.h.y) / cross;
  }
  // The outer side is where the gap from oA1 to oB0 does not point back along b.
  const bool outer = (oB0.x - oA1.x) * tb.h.x + 2e-8 > (oA1.y - oB0.y) * tb.h.y;
  if (!outer) {
    if (tA >= 0 && tA <= a->length && tB >= 0 && tB <= b->length) {
      Append(output, oA0 + tA * ta.h);
    } else {
      Append(output, oA1);
      Append(output, oB0);
    }
    return;
  }
  switch (joints) {
    case JointStyle::kBevel:
      Append(output, oA1);
      Append(output, oB0);
      break;
    case JointStyle::kCurve: {
      Vector r = oA1 - joint;
      Append(output, joint + r);
      for (std::int32_t i = 0; i < kMaxTurnSteps; ++i) {
        r = Rotate(r, cosStep, sinStep);
        if (Dot(r, tb.h) >= 0) {
          break;
        }
        Append(output, joint + r);
      }
      Append(output, oB0);
      break;
    }
    case JointStyle::kMiter:
      if (tB > miter) {
        Append(output, oB0 + tB * tb.h);
      } else {
        // Cut where the tip would reach more than sqrt(limit^2 - 1) half widths past the ends.
        Append(output, oA1 - miter * ta.h);
        Append(output, oB0 + miter * tb.h);
      }
      break;
  }
}

void AddStrokeCap(Path& output, const StrokeSegment* segment, CapStyle caps, double direction, double cosStep,
                  double sinStep) {
  const Travel t(segment, direction);
  const Vector tip = t.end;
  Append(output, tip + t.n);
  if (caps == CapStyle::kRound) {
    // A half circle from one side through the tip to the other.
    Vector r = t.n;
    for (std::int32_t i = 0; i < kMaxTurnSteps; ++i) {
      r = Rotate(r, cosStep, sinStep);
      if (Dot(r, t.h) <= 0) {
        break;
      }
      Append(output, tip + r);
    }
  }
  Append(output, tip - t.n);
}

Path& Path::Stroke(CapStyle caps, JointStyle joints, double width, double miterLimit, double quality) {
  const double w = width > 1e-8 ? width : 1e-8;
  const double k = 2 / w;
  const double limit = miterLimit >= 1 ? miterLimit : 1;
  const double miter = joints == JointStyle::kMiter ? -std::sqrt(limit * limit - 1) : 0;
  double cosStep = 1;
  double sinStep = 0;
  if (caps == CapStyle::kRound || joints == JointStyle::kCurve) {
    const double step = ArcStep(quality * w);
    cosStep = std::cos(step);
    sinStep = std::sin(step);
  }

  Path out;
  out.Reserve(fVertices.size() * 2 + 8);
  std::vector<StrokeSegment> segments;
  // Ends the contour begun at the placeholder move: the last vertex closes it and the placeholder
  // moves to that vertex's point.
  const auto finishContour = [&out](std::size_t placeholder) {
    if (out.fVertices.size() == placeholder + 1) {
      out.fVertices.pop_back();
      return;
    }
    Vertex& last = out.fVertices.back();
    last.kind = kClose;
    out.fVertices[placeholder] = Vertex{kMove, last.x, last.y};
  };

  SubpathWalk walk(fVertices);
  Point& current = walk.Current();
  while (walk.NextSubpath()) {
    segments.clear();
    for (SubpathWalk::Segment d; walk.NextSegment(d);) {
      // An infinite width leaves no direction to offset by.
      const double length = std::sqrt(d.dx * d.dx + d.dy * d.dy) * k;
      const double hx = d.dx / length;
      const double hy = d.dy / length;
      if (std::isfinite(length) && std::isfinite(hx) && std::isfinite(hy)) {
        segments.push_back(StrokeSegment{current.x, current.y, hx, hy, length});
        current = d.end;
      }
    }
    bool closed = walk.IsClosed();
    if (segments.empty()) {
      // A lone point: a zero-length segment along +x, which the caps turn into a dot.
      segments.push_back(StrokeSegment{current.x, current.y, w / 2, 0, 1});
      closed = false;
    }
    segments.push_back(StrokeSegment{current.x, current.y, 0, 0, 0});
    const std::size_t n = segments.size() - 1;
    StrokeSegment* const s = segments.data();

    std::size_t placeholder = out.fVertices.size();
    out.Push(kMove, 0, 0);
    if (!closed) {
      if (caps == CapStyle::kSquare) {
        // Each end is extended by half the width.
        s[0].x -= s[0].hx;
        s[0].y -= s[0].hy;
        s[0].length += 1;
        s[n].x += s[n - 1].hx;
        s[n].y += s[n - 1].hy;
        s[n - 1].length += 1;
      }
      for (std::size_t j = 0; j + 1 < n; ++j) {
        AddStrokeJoint(out, s + j, s + j + 1, joints, 1, miter, cosStep, sinStep);
      }
      AddStrokeCap(out, s + n - 1, caps, 1, cosStep, sinStep);
      for (std::size_t j = n - 1; j >= 1; --j) {
        AddStrokeJoint(out, s + j, s + j - 1, joints, -1, miter, cosStep, sinStep);
      }
      AddStrokeCap(out, s, caps, -1, cosStep, sinStep);
      finishContour(placeholder);
      continue;
    }
    // A closed subpath has no caps: an outer and an inner contour in opposite directions.
    for (std::size_t j = 0; j + 1 < n; ++j) {
      AddStrokeJoint(out, s + j, s + j + 1, joints, 1, miter, cosStep, sinStep);
    }
    AddStrokeJoint(out, s + n - 1, s, joints, 1, miter, cosStep, sinStep);
    finishContour(placeholder);
    placeholder = out.fVertices.size();
    out.Push(kMove, 0, 0);
    for (std::size_t j = n - 1; j >= 1; --j) {
      AddStrokeJoint(out, s + j, s + j - 1, joints, -1, miter, cosStep, sinStep);
    }
    AddStrokeJoint(out, s, s + n - 1, joints, -1, miter, cosStep, sinStep);
    finishContour(placeholder);
  }
  Replace(std::move(out.fVertices), -1);
  return *this;
}

}  // namespace QorRaster
