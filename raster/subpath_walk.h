// The subpaths of a path as the stroker and the dasher read them.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

#include "raster/path.h"

namespace QorRaster {

// Walks the vertices subpath by subpath. Before each subpath every vertex that is not a line is
// skipped, the last of them giving the current point, so that of several moves (or a move after
// a close) only the last one before a line counts. Then each line or close vertex up to the next
// move is a segment from the current point; segments too short (a squared length below 1e-8) or
// not finite are passed over. A close vertex ends its subpath as closed. The current point starts
// at (0, 0) and carries over between subpaths; the walk's user moves it along the segments.
class SubpathWalk {
 public:
  // A segment: the vertex it ends at, and its extent from the current point.
  struct Segment {
    Point end;
    double dx;
    double dy;
  };

  explicit SubpathWalk(const std::vector<Path::Vertex>& vertices) : fVertices(vertices) {}

  // Goes on to the next subpath; false when none is left. A path that ends with vertices that
  // are no lines has one more subpath there, without segments.
  bool NextSubpath() {
    const std::size_t count = fVertices.size();
    const std::size_t skipFrom = fIndex;
    for (; fIndex < count && fVertices[fIndex].kind != Path::kLine; ++fIndex) {
      fCurrent = Point(fVertices[fIndex].x, fVertices[fIndex].y);
    }
    fClosed = false;
    return fIndex < count || fIndex != skipFrom;
  }

  // The next segment of the subpath; false at its end.
  bool NextSegment(Segment& segment) {
    const std::size_t count = fVertices.size();
    while (!fClosed && fIndex < count && fVertices[fIndex].kind != Path::kMove) {
      const Path::Vertex& v = fVertices[fIndex++];
      fClosed = v.kind == Path::kClose;
      const double dx = v.x - fCurrent.x;
      const double dy = v.y - fCurrent.y;
      const double d2 = dx * dx + dy * dy;
      if (d2 >= 1e-8 && std::isfinite(d2)) {
        segment = Segment{Point(v.x, v.y), dx, dy};
        return true;
      }
    }
    return false;
  }

  Point& Current() { return fCurrent; }
  // Whether the subpath ended with a close vertex.
  bool IsClosed() const { return fClosed; }

 private:
  const std::vector<Path::Vertex>& fVertices;
  std::size_t fIndex = 0;
  Point fCurrent;
  bool fClosed = false;
};

}  // namespace QorRaster
