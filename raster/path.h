// Paths: ordered lists of move, line and close vertices in double precision. Curves, arcs and
// shapes are flattened into line vertices as they are added, so every consumer (the polygon
// rasteriser, the stroker, the dasher) sees only straight segments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/geometry.h"
#include "raster/limits.h"
#include "raster/transform.h"

namespace QorRaster {

enum class CapStyle : std::int32_t;
enum class JointStyle : std::int32_t;

class Path {
 public:
  enum Kind : std::uint32_t { kMove = 0, kLine = 1, kClose = 2 };

  struct Vertex {
    std::uint32_t kind;
    double x;
    double y;

    bool operator==(const Vertex&) const = default;
  };

  Path() = default;

  // Appends {move, x, y} and makes it the start of the open subpath.
  Path& MoveTo(double x, double y);
  Path& LineTo(double x, double y);
  // Appends a close vertex back to the open subpath's start, or to (0, 0) when there is none.
  Path& Close();
  // Appends all vertices of other; its open subpath, if any, becomes this path's.
  Path& Append(const Path& other);
  // Ends every subpath with a close vertex.
  Path& CloseAll();
  // Box of all vertex points, close vertices included; (0, 0, 0, 0) when empty.
  Rect GetBounds() const;
  // Pixel box covering all vertex points, limited to the whole-plane range; empty for NaN.
  IntRect GetIntBounds() const;
  // Maps every vertex in place; the identity leaves the coordinates untouched.
  Path& Transform(const QorRaster::Transform& transform);

  // Curves from the current point, flattened into lines; a higher quality gives more lines.
  Path& QuadTo(double cx, double cy, double x, double y, double quality);
  Path& CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y, double quality);
  // Elliptical arc from the current point about (cx, cy); the x radius is aspect times the y
  // radius; a positive sweep (radians) turns clockwise on the y-down grid.
  Path& ArcTo(double cx, double cy, double sweep, double aspect, double quality);

  // Shapes, each a subpath of its own; all but the line end with a close.
  Path& AddLine(double x1, double y1, double x2, double y2);
  Path& AddRect(double x, double y, double width, double height);
  Path& AddRoundedRect(double x, double y, double width, double height, double rx, double ry, double quality);
  Path& AddCircle(double cx, double cy, double r, double quality);
  Path& AddEllipse(double cx, double cy, double rx, double ry, double quality);
  // A polygon of count vertices alternating between the radii r1 and r2, the first at r1 in the
  // direction of rotation (0 points up, positive turns clockwise).
  Path& AddStar(std::int32_t count, double cx, double cy, double r1, double r2, double rotation);

  // Replaces the path by the outline of its stroke (closed polygons for the non-zero rule).
  Path& Stroke(CapStyle caps, JointStyle joints, double width, double miterLimit, double quality);
  // Replaces the path by its dashes: open subpaths of dash length separated by gaps.
  Path& Dash(double dash, double gap, double offset);

  const std::vector<Vertex>& GetVertices() const { return fVertices; }
  std::int64_t GetOpenSubpathIndex() const { return fOpenSubpath; }
  bool IsEmpty() const { return fVertices.empty(); }
  // The point of the last vertex, (0, 0) for an empty path.
  Point GetCurrentPoint() const;

 private:
  // Appends one vertex; a path of kMaxPathVertices throws LimitException.
  void Push(std::uint32_t kind, double x, double y) {
    if (fVertices.size() >= kMaxPathVertices) {
      ThrowLimit();
    }
    fVertices.push_back(Vertex{kind, x, y});
  }
  // Appends the vertices [first, last), all of them or, when they do not fit, none.
  void PushRange(const Vertex* first, const Vertex* last);
  // Makes room for count more vertices, as far as the limit allows.
  void Reserve(std::size_t count);
  // Appends steps lines by forward differencing from start: each step adds the first difference
  // to the point, the second to the first and the third to the second.
  void AppendDifferences(Point start, Point first, Point second, Point third, std::int32_t steps);
  [[noreturn]] static void ThrowLimit();
  // Replaces the vertices by a rebuilt array and sets the open-subpath index.
  void Replace(std::vector<Vertex>&& vertices, std::int64_t openSubpath);

  std::vector<Vertex> fVertices;
  std::int64_t fOpenSubpath = -1;
};

}  // namespace QorRaster
