// Dashing: every subpath is cut into dashes of one length separated by gaps of another; the
// pattern restarts at each subpath, and on a closed subpath the last dash joins the first when
// both meet at the closing point.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "raster/path.h"
#include "raster/subpath_walk.h"

namespace QorRaster {

Path& Path::Dash(double dash, double gap, double offset) {
  if (!(gap >= 1e-8) || !(dash >= 0) || !std::isfinite(dash) || !std::isfinite(gap) || !std::isfinite(offset)) {
    return *this;
  }
  const double period = dash + gap;
  // The offset counts within one period, so that offsets beyond it, or below zero, shift the
  // pattern instead of stretching its first dash or starting it behind the subpath.
  double shift = std::fmod(offset, period);
  if (shift < 0) {
    shift += period;
  }
  if (shift >= period) {
    shift = 0;
  }
  const double phase = std::fmod(dash - shift, period);

  Path out;
  SubpathWalk walk(fVertices);
  // Moves only by the lengths consumed, not to the ends of the segments.
  Point& current = walk.Current();
  while (walk.NextSubpath()) {
    const bool startsOn = phase >= 0;
    bool on = startsOn;
    double remaining = on ? phase : gap + phase;
    const std::size_t first = out.fVertices.size();
    std::size_t latestMove = first;
    out.Push(kMove, current.x, current.y);
    for (SubpathWalk::Segment d; walk.NextSegment(d);) {
      double length = std::sqrt(d.dx * d.dx + d.dy * d.dy);
      const double ux = d.dx / length;
      const double uy = d.dy / length;
      while (length > 0) {
        const double t = length < remaining ? length : remaining;
        current.x += t * ux;
        current.y += t * uy;
        remaining -= t;
        length -= t;
        if (on) {
          out.Push(kLine, current.x, current.y);
          if (!(remaining > 0)) {
            remaining += gap;
            on = false;
          }
        } else if (!(remaining > 0)) {
          latestMove = out.fVertices.size();
          out.Push(kMove, current.x, current.y);
          remaining += dash;
          on = true;
        }
      }
    }
    // The dash that runs through the closing point continues with the subpath's first dash.
    if (walk.IsClosed() && latestMove != first && on && startsOn) {
      std::vector<Vertex>& dashes = out.fVertices;
      dashes[first].kind = kLine;
      std::rotate(dashes.begin() + static_cast<std::ptrdiff_t>(first),
                  dashes.begin() + static_cast<std::ptrdiff_t>(latestMove), dashes.end());
    }
  }
  const std::int64_t last = static_cast<std::int64_t>(out.fVertices.size()) - 1;
  Replace(std::move(out.fVertices), last);
  return *this;
}

}  // namespace QorRaster
