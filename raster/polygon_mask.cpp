#include "raster/polygon_mask.h"

#include <algorithm>
#include <cmath>

#include "raster/limits.h"

namespace QorRaster {
namespace {

// Segments are clipped to a guard band around the clip rectangle before they are converted to
// fixed point, which keeps every coordinate within 2^21 pixels (2^29 in 24.8) and so every
// product of the edge arithmetic within 64 bits. Segments inside the band are untouched.
constexpr std::int64_t kGuardMargin = std::int64_t{1} << 16;
constexpr std::int64_t kGuardLimit = std::int64_t{1} << 21;

constexpr std::int32_t kSentinelTop = 0x7FFFFFFF;
// A literal stretch swallows the next edge when that edge starts at most this many columns after
// the stretch's end, so that short gaps between nearby edges do not cost a run each.
constexpr std::int32_t kStretchJoin = 16;
// Edges that start within this many rows are put in start order by counting.
constexpr std::int32_t kCountedRows = 256;
// Up to this many active edges are kept in column order by insertion.
constexpr std::size_t kInsertionSortLimit = 32;

// Adds with two's-complement wrap-around: many edges over one column may overflow 32 bits, which
// the even-odd rule tolerates and the non-zero rule cannot help.
inline void AddTo(std::int32_t& cell, std::int64_t value) {
  cell = static_cast<std::int32_t>(static_cast<std::uint32_t>(cell) + static_cast<std::uint32_t>(value));
}

// floor(v * 256 + 0.5) for v within the guard band, without a call to floor.
inline std::int32_t FixedPoint(double v) {
  const double scaled = v * 256.0 + 0.5;
  const auto truncated = static_cast<std::int32_t>(scaled);
  return truncated - (scaled < truncated ? 1 : 0);
}

// A point as two lanes (x, y), and the same in 24.8.
using Doubles2 = double __attribute__((vector_size(16)));
using Fixed2 = std::int32_t __attribute__((vector_size(8)));
using Lanes2 = std::int64_t __attribute__((vector_size(16)));

// FixedPoint of both coordinates at once, with the same results.
inline Fixed2 FixedPoints(Doubles2 v) {
  const Doubles2 scaled = v * 256.0 + 0.5;
  const Fixed2 truncated = __builtin_convertvector(scaled, Fixed2);
  // -1 in the lanes where truncation rounded up.
  const Lanes2 above = scaled < __builtin_convertvector(truncated, Doubles2);
  return truncated + __builtin_convertvector(above, Fixed2);
}

inline bool IsFinite(const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Any other rule, one value at a time through its interface.
struct GeneralRule {
  const FillRule& rule;
  Coverage Value(std::int32_t w) const {
    Coverage v;
    rule.Convert(1, &w, &v);
    return v;
  }
};

// The accumulated area of each column of a call, asked for from left to right (columns between
// edges are asked for only at the first of a constant stretch): the running sum of the buffer,
// whose entries are cleared as they are read.
struct AccumulatedAreas {
  std::int32_t* buffer;
  // The running sum wraps like the buffer's entries.
  mutable std::uint32_t sum = 0;
  std::int32_t Next(std::int32_t column) const {
    sum += static_cast<std::uint32_t>(buffer[column]);
    buffer[column] = 0;
    return static_cast<std::int32_t>(sum);
  }
  void Finish(std::int32_t count) const { buffer[count] = 0; }
};

// The same for a rectangle, by the part of each column between its two edges (24.8 x), times the
// signed height that both edges cover in the row.
struct RectangleAreas {
  std::int64_t windowLeft;  // 24.8 x of the call's first column
  std::int64_t leftX;
  std::int64_t rightX;
  std::int64_t height;
  std::int32_t Next(std::int32_t column) const {
    const std::int64_t columnRight = windowLeft + (std::int64_t{column} + 1) * 256;
    const auto rightOf = [&](std::int64_t edge) { return std::clamp<std::int64_t>(columnRight - edge, 0, 256); };
    return static_cast<std::int32_t>(height * (rightOf(leftX) - rightOf(rightX)));
  }
  void Finish(std::int32_t) const {}
};

// Adds one edge's area within the row that starts at rowTop (24.8) over the columns x to
// x + count - 1 to the buffer, and sets the edge's first and end columns.
void AddArea(PolygonEdge* e, std::int32_t* buffer, std::int64_t rowTop, std::int32_t x, std::int32_t count) {
  // Covered height within the row, its signed area, and the x extent it spans.
  const std::int64_t h = std::min<std::int64_t>(e->fBottomY - rowTop, 256) - std::max<std::int64_t>(e->fTopY - rowTop, 0);
  const std::int64_t s = e->fAreaPerColumn;
  const std::int64_t area = 256 * h * e->fDirection;
  const std::int64_t d = e->fSlope * h;
  const std::int64_t leftX = (e->fXAtRow + std::min<std::int64_t>(d, 0)) >> 32;
  const std::int64_t rightX = (e->fXAtRow + std::max<std::int64_t>(d, 0)) >> 32;
  std::int64_t lc = (leftX >> 8) - x;
  const std::int64_t rc = (rightX >> 8) - x;
  const std::int64_t fl = leftX & 255;
  const std::int64_t fr = rightX & 255;
  if (lc >= count) {
    e->fFirstColumn = e->fEndColumn = count;
    return;
  }
  if (rc < 0) {
    e->fFirstColumn = e->fEndColumn = 0;
    AddTo(buffer[0], area);
    return;
  }
  if (lc == rc) {
    const std::int64_t t = ((512 - fl - fr) * area) >> 9;
    AddTo(buffer[lc], t);
    AddTo(buffer[lc + 1], area - t);
    e->fFirstColumn = static_cast<std::int32_t>(lc);
    e->fEndColumn = static_cast<std::int32_t>(lc + 1);
    return;
  }
  // The edge crosses columns: its partial first column, full columns, and partial last column.
  std::int64_t a;
  if (lc < 0) {
    e->fFirstColumn = 0;
    a = (-lc) * s - ((fl * s) >> 8);  // the area left of the window
    AddTo(buffer[0], a);
    lc = 0;
  } else {
    e->fFirstColumn = static_cast<std::int32_t>(lc);
    a = ((256 - fl) * s) >> 8;
    const std::int64_t t = ((256 - fl) * a) >> 9;
    AddTo(buffer[lc], t);
    AddTo(buffer[lc + 1], a - t);
    lc += 1;
  }
  // Full columns up to the last partial one, or up to the window's end when the edge runs on
  // beyond it (the window's last column is then crossed in full as well).
  const std::int64_t m = std::min<std::int64_t>(count, rc) - lc;
  if (m > 0) {
    AddTo(buffer[lc], s >> 1);
    for (std::int64_t c = lc + 1; c < lc + m; ++c) {
      AddTo(buffer[c], s);
    }
    AddTo(buffer[lc + m], s - (s >> 1));
  }
  if (rc < count) {
    const std::int64_t b = area - a - m * s;
    const std::int64_t t = ((512 - fr) * b) >> 9;
    AddTo(buffer[rc], t);
    AddTo(buffer[rc + 1], b - t);
    e->fEndColumn = static_cast<std::int32_t>(rc + 1);
  } else {
    e->fEndColumn = count;
  }
}

}  // namespace

// Collects the edges of a path's segments and the box of their end points.
class PolygonMask::Builder {
 public:
  Builder(const IntRect& clip, std::vector<PolygonEdge>& edges)
      : fEdges(edges),
        fClipTop(std::int64_t{clip.y} * 256),
        fClipBottom((std::int64_t{clip.y} + clip.height) * 256),
        fClipRight((std::int64_t{clip.x} + clip.width) * 256),
        fClipWidth(clip.width),
        fLeft(static_cast<double>(std::max<std::int64_t>(std::int64_t{clip.x} - kGuardMargin, -kGuardLimit))),
        fTop(static_cast<double>(std::max<std::int64_t>(std::int64_t{clip.y} - kGuardMargin, -kGuardLimit))),
        fRight(static_cast<double>(
            std::min<std::int64_t>(std::int64_t{clip.x} + clip.width + kGuardMargin, kGuardLimit))),
        fBottom(static_cast<double>(
            std::min<std::int64_t>(std::int64_t{clip.y} + clip.height + kGuardMargin, kGuardLimit))),
        fUsable(!clip.IsEmpty() && fLeft < fRight && fTop < fBottom),
        fCurrent(Convert(Point())) {}

  // Takes the path's vertices in order. A move (or a run of them) sets the current point; every
  // line or close vertex makes a segment from the current point to its point. Segments with an
  // end point that is not finite are dropped. Each point is converted once.
  void Add(std::uint32_t kind, const Point& p) {
    Vertex v = Convert(p);
    if (kind != Path::kMove && fCurrent.finite && v.finite && fUsable) {
      AddSegment(fCurrent, v);
    }
    fCurrent = v;
  }

  // The work of rendering the edges over rows of the given width (see kMaxScanWork): every chunk
  // of a row that an edge crosses visits it, and its area is added over the full columns it
  // crosses.
  std::int64_t GetScanWork(std::int32_t width) const {
    // A row of the bounds meets at most this many of the renderers' chunks, wherever they start.
    const std::int64_t chunks = (std::int64_t{width} + 2 * kMaxSpan - 2) / kMaxSpan;
    return fEdgeRows * chunks + fCrossedColumns / kColumnsPerScanStep;
  }

  // The box of all segments in pixels, intersected with the clip.
  IntRect GetBounds(const IntRect& clip) const {
    if (!(fMin[0] <= fMax[0])) {
      return EmptyRect;  // no segment
    }
    // The conversion keeps the order of values, so it takes the box's corners to the box of the
    // converted end points.
    const Fixed2 min = FixedPoints(fMin);
    const Fixed2 max = FixedPoints(fMax);
    const std::int32_t left = min[0] >> 8;
    const std::int32_t top = min[1] >> 8;
    const IntRect box(left, top, ((max[0] + 255) >> 8) - left, ((max[1] + 255) >> 8) - top);
    return box.IsEmpty() ? EmptyRect : box.Intersect(clip);
  }

 private:
  // A point of the path with what the segments from and to it need: the point moved into the
  // guard band, in 24.8, and whether it lay there already.
  struct Vertex {
    Point point;
    Doubles2 clamped{};
    Fixed2 fixed{};
    bool finite = false;
    bool inside = false;
    bool extended = false;  // the box holds it already
  };

  Vertex Convert(const Point& p) const {
    Vertex v;
    v.point = p;
    // Points inside the band are finite; others are moved into it when they are.
    v.clamped = Doubles2{p.x, p.y};
    const Lanes2 within = (v.clamped >= fBandMin) & (v.clamped <= fBandMax);
    v.inside = (within[0] & within[1]) != 0;
    v.finite = v.inside || IsFinite(p);
    if (v.finite && fUsable) {
      if (!v.inside) {
        const Point clamped = Clamp(p);
        v.clamped = Doubles2{clamped.x, clamped.y};
      }
      v.fixed = FixedPoints(v.clamped);
    }
    return v;
  }

  void AddSegment(Vertex& from, Vertex& to) {
    // The box of the clamped end points is the clamped box of the segment; within the clip,
    // where the bounds are taken, it equals the box of the original end points.
    if (!from.extended) {
      Extend(from.clamped);
    }
    Extend(to.clamped);
    to.extended = true;
    if (from.inside && to.inside) {
      AddEdge(from.fixed[0], from.fixed[1], to.fixed[0], to.fixed[1]);
      return;
    }
    const Point& p0 = from.point;
    const Point& p1 = to.point;
    const double top = std::max(std::min(p0.y, p1.y), fTop);
    const double bottom = std::min(std::max(p0.y, p1.y), fBottom);
    if (!(top < bottom)) {
      return;  // above or below the band, or horizontal: no winding inside it
    }
    // The part within the band's rows; parts above and below contribute nothing there.
    ClipColumns(ClampRow(p0, p1, p0, top, bottom), ClampRow(p0, p1, p1, top, bottom));
  }

  // The point of the line through a and b at the given y (or x). It is interpolated from the end
  // point nearer to the target, with halved differences, so that far end points neither cancel
  // out the result nor overflow.
  static double XAt(const Point& a, const Point& b, double y) {
    return std::fabs(y - a.y) <= std::fabs(y - b.y) ? Interpolate(a.x, b.x, a.y, b.y, y) : Interpolate(b.x, a.x, b.y, a.y, y);
  }
  static double YAt(const Point& a, const Point& b, double x) {
    return std::fabs(x - a.x) <= std::fabs(x - b.x) ? Interpolate(a.y, b.y, a.x, b.x, x) : Interpolate(b.y, a.y, b.x, a.x, x);
  }
  // The value at `at` of the quantity that is v0 where the parameter is p0 and v1 where it is p1.
  static double Interpolate(double v0, double v1, double p0, double p1, double at) {
    const double t = (0.5 * at - 0.5 * p0) / (0.5 * p1 - 0.5 * p0);
    return (1 - t) * v0 + t * v1;
  }

  // End point p of the segment p0-p1 moved along it onto the row range [top, bottom].
  static Point ClampRow(const Point& p0, const Point& p1, const Point& p, double top, double bottom) {
    if (p.y < top) {
      return Point(XAt(p0, p1, top), top);
    }
    if (p.y > bottom) {
      return Point(XAt(p0, p1, bottom), bottom);
    }
    return p;
  }

  Point Clamp(const Point& p) const { return Point(std::clamp(p.x, fLeft, fRight), std::clamp(p.y, fTop, fBottom)); }

  void Extend(Doubles2 p) {
    fMin = Doubles2{std::min(fMin[0], p[0]), std::min(fMin[1], p[1])};
    fMax = Doubles2{std::max(fMax[0], p[0]), std::max(fMax[1], p[1])};
  }

  // Splits the segment where it crosses the band's left and right sides; the parts outside are
  // moved onto the sides as vertical edges, which keeps their winding for everything between.
  void ClipColumns(const Point& a, const Point& b) {
    Point cuts[4] = {a};
    std::int32_t n = 1;
    const double sides[2] = {a.x < b.x ? fLeft : fRight, a.x < b.x ? fRight : fLeft};
    for (const double side : sides) {
      if ((a.x < side && side < b.x) || (b.x < side && side < a.x)) {
        cuts[n++] = Point(side, std::clamp(YAt(a, b, side), std::min(a.y, b.y), std::max(a.y, b.y)));
      }
    }
    cuts[n++] = b;
    for (std::int32_t i = 0; i + 1 < n; ++i) {
      const Point p = Clamp(cuts[i]);
      const Point q = Clamp(cuts[i + 1]);
      AddEdge(FixedPoint(p.x), FixedPoint(p.y), FixedPoint(q.x), FixedPoint(q.y));
    }
  }

  void AddEdge(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    if (y0 == y1) {
      return;
    }
    const bool downward = y1 > y0;
    const std::int32_t top = downward ? y0 : y1;
    const std::int32_t bottom = downward ? y1 : y0;
    const std::int32_t xTop = downward ? x0 : x1;
    const std::int32_t xBottom = downward ? x1 : x0;
    if (bottom <= fClipTop || top >= fClipBottom || std::min(x0, x1) >= fClipRight) {
      return;  // edges left of the clip stay: they carry the winding for the pixels to their right
    }
    const std::int64_t dy = std::int64_t{bottom} - top;
    const std::int64_t dx = std::int64_t{xBottom} - xTop;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    // Vertical edges, as in every rectangle, need no division.
    std::int64_t slope =
        adx == 0 ? 0 : static_cast<std::int64_t>((static_cast<std::uint64_t>(adx) << 32) / static_cast<std::uint64_t>(dy));
    if (dx < 0) {
      slope = -slope;
    }
    std::int32_t area = 0x8000;
    if (dx != 0 && dy < 0x8000 * adx) {
      area = static_cast<std::int32_t>((dy << 16) / adx);
    }
    std::int64_t xAtTop = static_cast<std::int64_t>(static_cast<std::uint64_t>(std::int64_t{xTop}) << 32);
    std::int32_t topY = top;
    if (top < fClipTop) {
      xAtTop += slope * (fClipTop - top);
      topY = static_cast<std::int32_t>(fClipTop);
    }
    const auto column = static_cast<std::int32_t>((xAtTop >> 32) >> 8);
    fEdges.push_back(PolygonEdge{topY, bottom, xAtTop, xAtTop, slope, downward ? area : -area, column, column,
                                 downward ? 1 : -1});
    fEdgeRows += ((std::min<std::int64_t>(bottom, fClipBottom) + 255) >> 8) - (topY >> 8);
    fCrossedColumns += std::min<std::int64_t>(adx >> 8, fClipWidth);
  }

  std::vector<PolygonEdge>& fEdges;
  const std::int64_t fClipTop;
  const std::int64_t fClipBottom;
  const std::int64_t fClipRight;
  const std::int64_t fClipWidth;
  // The guard band in pixels.
  const double fLeft;
  const double fTop;
  const double fRight;
  const double fBottom;
  const bool fUsable;
  const Doubles2 fBandMin{fLeft, fTop};
  const Doubles2 fBandMax{fRight, fBottom};
  // Box of the segments' end points, moved into the band.
  Doubles2 fMin{HUGE_VAL, HUGE_VAL};
  Doubles2 fMax{-HUGE_VAL, -HUGE_VAL};
  std::int64_t fEdgeRows = 0;
  std::int64_t fCrossedColumns = 0;
  // A path that starts with a line starts from (0, 0).
  Vertex fCurrent;
};

PolygonMask::PolygonMask(const Path& path, const IntRect& clip, const FillRule* rule)
    : fRule(rule),
      fRuleKind(rule == &kNonZeroRule || dynamic_cast<const NonZeroRule*>(rule) != nullptr   ? RuleKind::kNonZero
                : rule == &kEvenOddRule || dynamic_cast<const EvenOddRule*>(rule) != nullptr ? RuleKind::kEvenOdd
                                                                                             : RuleKind::kOther),
      fRow(clip.y) {
  const std::vector<Path::Vertex>& vertices = path.GetVertices();
  fEdges.reserve(vertices.size() + 1);
  Builder builder(clip, fEdges);
  for (const Path::Vertex& v : vertices) {
    builder.Add(v.kind, Point(v.x, v.y));
  }
  fBounds = builder.GetBounds(clip);
  if (!fBounds.IsEmpty() && builder.GetScanWork(fBounds.width) > kMaxScanWork) {
    throw LimitException("Too much scan conversion work");
  }
  PolygonEdge sentinel{};
  sentinel.fTopY = kSentinelTop;
  fEdges.push_back(sentinel);
  fRectangle = FindRectangle(std::span(fEdges).first(fEdges.size() - 1));
  if (fRectangle) {
    return;  // neither the start order, the active list nor the buffer is used
  }
  OrderStarts();
  if (!fBounds.IsEmpty()) {
    std::fill_n(fBuffer, std::min(fBounds.width, kMaxSpan) + 1, 0);
  }
}

void PolygonMask::Render(std::int32_t x, std::int32_t y, std::int32_t count, MaskSpanList& list) {
  const std::int64_t left = fBounds.x;
  const std::int64_t right = left + fBounds.width;
  const std::int64_t end = std::int64_t{x} + count;
  // Rows outside the bounds, and rows behind the current one (whose edges have moved on), are
  // empty; so are the columns outside the bounds.
  if (fBounds.IsEmpty() || y < fBounds.y || y >= std::int64_t{fBounds.y} + fBounds.height || y < fRow ||
      end <= left || x >= right) {
    list.AppendTransparent(count);
    return;
  }
  const bool newRow = y > fRow;
  fRow = y;
  if (x < left) {
    list.AppendTransparent(static_cast<std::int32_t>(left - x));
  }
  if (!fRectangle) {
    StartEdges();
  }
  const std::int32_t capacity = std::min(fBounds.width, kMaxSpan);
  bool moveDown = newRow;
  for (std::int64_t from = std::max<std::int64_t>(x, left), to = std::min(end, right); from < to;) {
    const std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(to - from, capacity));
    if (fRectangle) {
      EmitRectangle(static_cast<std::int32_t>(from), n, list);
    } else {
      Accumulate(static_cast<std::int32_t>(from), n, moveDown);
      moveDown = false;
      EmitByRule(AccumulatedAreas{fBuffer}, std::span<PolygonEdge* const>(fActive, fActiveCount), n, list);
    }
    from += n;
  }
  if (end > right) {
    list.AppendTransparent(static_cast<std::int32_t>(end - right));
  }
}

std::optional<PolygonMask::Rectangle> PolygonMask::FindRectangle(std::span<PolygonEdge> edges) {
  // Vertical edges have no slope; an edge that starts above the clip moved down unchanged.
  const auto vertical = [](const PolygonEdge& e) { return e.fSlope == 0; };
  if (edges.size() == 1 && vertical(edges[0])) {
    return Rectangle{{&edges[0], nullptr}};
  }
  if (edges.size() == 2 && vertical(edges[0]) && vertical(edges[1]) && edges[0].fTopY == edges[1].fTopY &&
      edges[0].fBottomY == edges[1].fBottomY && edges[0].fDirection == -edges[1].fDirection) {
    const bool ordered = edges[0].fXAtTop <= edges[1].fXAtTop;
    return Rectangle{{&edges[ordered ? 0 : 1], &edges[ordered ? 1 : 0]}};
  }
  return std::nullopt;
}

std::int32_t PolygonMask::CountFullRectangleRows(std::int32_t y) const {
  // Rows inside the bounds whose top and bottom lie within the edges' rows (and not behind the
  // current row, which render empty).
  const PolygonEdge& e = *fRectangle->edges[0];
  const std::int64_t rowTop = std::int64_t{y} * 256;
  const std::int64_t bottom = std::min<std::int64_t>(e.fBottomY >> 8, std::int64_t{fBounds.y} + fBounds.height);
  if (rowTop < e.fTopY || y < fBounds.y || y < fRow || y >= bottom) {
    return 1;
  }
  return static_cast<std::int32_t>(bottom - y);
}

void PolygonMask::EmitRectangle(std::int32_t x, std::int32_t count, MaskSpanList& list) {
  PolygonEdge& l = *fRectangle->edges[0];
  PolygonEdge* const r = fRectangle->edges[1];
  // Both edges cover the same height h of the row, and each adds its area right of its x: a
  // column accumulates h times the part of it between the two.
  const std::int64_t rowTop = std::int64_t{fRow} * 256;
  const std::int64_t h = std::max<std::int64_t>(
      std::min<std::int64_t>(l.fBottomY - rowTop, 256) - std::max<std::int64_t>(l.fTopY - rowTop, 0), 0);
  const std::int64_t leftX = l.fXAtTop >> 32;
  // Without a right edge the area runs on beyond the clip.
  const std::int64_t rightX = r != nullptr ? r->fXAtTop >> 32 : (std::int64_t{x} + count + 1) * 256;
  // The columns that the edges touch in this call, as accumulating them would set them.
  const auto place = [&](PolygonEdge& e, std::int64_t edgeX) {
    const std::int64_t column = (edgeX >> 8) - x;
    const std::int32_t first = static_cast<std::int32_t>(std::clamp<std::int64_t>(column, 0, count));
    e.fFirstColumn = first;
    e.fEndColumn = column >= 0 && column < count ? first + 1 : first;
  };
  place(l, leftX);
  std::size_t edgeCount = 1;
  if (r != nullptr) {
    place(*r, rightX);
    edgeCount = 2;
  }
  EmitByRule(RectangleAreas{std::int64_t{x} * 256, leftX, rightX, l.fDirection * h},
             std::span<PolygonEdge* const>(fRectangle->edges, edgeCount), count, list);
}

void PolygonMask::OrderStarts() {
  // Without bounds no row is ever rendered.
  if (fBounds.IsEmpty()) {
    return;
  }
  const std::size_t n = fEdges.size() - 1;
  // One allocation for the start order and the active edges, at most all of them.
  fLists.resize(2 * (n + 1));
  fStarts = fLists.data();
  fActive = fStarts + n + 1;
  fStarts[n] = &fEdges[n];  // the sentinel, which never starts, comes last
  // Edges start on the rows of the bounds: at or below the clip's top and the top of the box of
  // all segments, above the bottom of both.
  const auto row = [&](const PolygonEdge& e) { return static_cast<std::size_t>((e.fTopY >> 8) - fBounds.y); };
  if (fBounds.height <= kCountedRows) {
    // Counted into their rows, in path order within a row (the active edges are put in column
    // order as they are accumulated anyway): no comparisons to mispredict.
    std::uint32_t starts[kCountedRows + 1];
    const auto rows = static_cast<std::size_t>(fBounds.height);
    std::fill_n(starts, rows + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
      ++starts[row(fEdges[i]) + 1];
    }
    for (std::size_t r = 1; r <= rows; ++r) {
      starts[r] += starts[r - 1];
    }
    for (std::size_t i = 0; i < n; ++i) {
      fStarts[starts[row(fEdges[i])]++] = &fEdges[i];
    }
    return;
  }
  // Sorted by row, then by column, which saves reordering the active edges later.
  std::transform(fEdges.begin(), fEdges.end() - 1, fStarts, [](PolygonEdge& e) { return &e; });
  std::sort(fStarts, fStarts + n, [&](const PolygonEdge* a, const PolygonEdge* b) {
    return row(*a) != row(*b) ? row(*a) < row(*b) : a->fFirstColumn < b->fFirstColumn;
  });
}

void PolygonMask::StartEdges() {
  const std::int64_t rowTop = std::int64_t{fRow} * 256;
  for (; fStarts[fNextEdge]->fTopY < rowTop + 256; ++fNextEdge) {
    PolygonEdge* const e = fStarts[fNextEdge];
    if (e->fBottomY > rowTop) {  // else it ended in a row that was skipped
      fActive[fActiveCount++] = e;
    }
  }
}

void PolygonMask::Accumulate(std::int32_t x, std::int32_t count, bool newRow) {
  std::int32_t* const buffer = fBuffer;
  const std::int64_t rowTop = std::int64_t{fRow} * 256;
  // Few edges keep their column order by insertion as they are visited: the order changes
  // little from row to row, so that is nearly linear. Many edges may change order wholesale and
  // are sorted afterwards.
  const bool insert = fActiveCount <= kInsertionSortLimit;
  PolygonEdge** const active = fActive;
  std::size_t kept = 0;
  for (std::size_t i = 0, n = fActiveCount; i < n; ++i) {
    PolygonEdge* const e = active[i];
    if (newRow) {
      // Edges that end by the row's top are finished; the others enter the row further down.
      // (For an edge that starts in this row this keeps x at its top.)
      if (e->fBottomY <= rowTop) {
        continue;
      }
      if (e->fTopY < rowTop) {
        e->fXAtRow = e->fXAtTop + e->fSlope * (rowTop - e->fTopY);
      }
    }
    AddArea(e, buffer, rowTop, x, count);
    std::size_t j = kept++;
    if (insert) {
      for (; j > 0 && active[j - 1]->fFirstColumn > e->fFirstColumn; --j) {
        active[j] = active[j - 1];
      }
    }
    active[j] = e;
  }
  fActiveCount = kept;
  if (!insert) {
    SortByFirstColumn(count);
  }
}

void PolygonMask::SortByFirstColumn(std::int32_t count) {
  // First columns lie in [0, count], so a counting sort is linear whatever the order.
  const std::size_t n = fActiveCount;
  fColumnStarts.assign(static_cast<std::size_t>(count) + 2, 0);
  const std::span<PolygonEdge*> active(fActive, n);
  for (const PolygonEdge* e : active) {
    ++fColumnStarts[static_cast<std::size_t>(e->fFirstColumn) + 1];
  }
  for (std::size_t c = 1; c < fColumnStarts.size(); ++c) {
    fColumnStarts[c] += fColumnStarts[c - 1];
  }
  fSorted.resize(n);
  for (PolygonEdge* e : active) {
    fSorted[fColumnStarts[static_cast<std::size_t>(e->fFirstColumn)]++] = e;
  }
  std::copy(fSorted.begin(), fSorted.end(), fActive);
}

template <typename Areas>
void PolygonMask::EmitByRule(const Areas& areas, std::span<PolygonEdge* const> edges, std::int32_t count,
                             MaskSpanList& list) const {
  switch (fRuleKind) {
    case RuleKind::kNonZero: Emit(kNonZeroRule, areas, edges, count, list); break;
    case RuleKind::kEvenOdd: Emit(kEvenOddRule, areas, edges, count, list); break;
    case RuleKind::kOther: Emit(GeneralRule{*fRule}, areas, edges, count, list); break;
  }
}

template <typename Rule, typename Areas>
void PolygonMask::Emit(const Rule& rule, const Areas& areas, std::span<PolygonEdge* const> edges, std::int32_t count,
                       MaskSpanList& output) {
  // A local copy of the list stays in registers: the coverage bytes written below could
  // otherwise alias its fields.
  MaskSpanList list = output;
  std::int32_t c = 0;
  std::size_t i = 0;
  const std::size_t n = edges.size();
  while (c < count) {
    const std::int32_t first = i < n ? edges[i]->fFirstColumn : count;
    if (first > c) {
      // No edge touches the columns up to the next one: one constant run.
      list.AppendValue(first - c, rule.Value(areas.Next(c)));
      c = first;
      continue;
    }
    std::int32_t end = edges[i++]->fEndColumn;
    for (; i < n && edges[i]->fFirstColumn <= end + kStretchJoin; ++i) {
      end = std::max(end, edges[i]->fEndColumn);
    }
    if (end > c) {
      Coverage* const values = list.fStorageCursor;
      for (std::int32_t k = c; k < end; ++k) {
        values[k - c] = rule.Value(areas.Next(k));
      }
      list.AppendLiteral(end - c, values, false);
      c = end;
    }
  }
  areas.Finish(count);
  output = list;
}

}  // namespace QorRaster
