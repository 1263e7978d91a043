#include "raster/image_sampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "raster/path.h"

namespace QorRaster {
namespace {

constexpr std::int64_t kOne = std::int64_t{1} << 32;
// Inverse transforms with a larger value count as degenerate: their positions would leave the
// range of 32.32 numbers. The origin, taken relative to the source rectangle, may reach further.
constexpr double kLargestInverseValue = 1 << 30;
constexpr double kLargestOrigin = 0x7FFFFFFF;

// 32.32 fixed point, rounded by half a unit of the last place.
std::int64_t ToFixed(double d) {
  constexpr double kHalfUnit = 1.1641532182693481e-10;  // 2^-33
  const double integer = std::floor(d + kHalfUnit);
  const double fraction = std::trunc((d + kHalfUnit - integer) * 4294967296.0);
  return static_cast<std::int64_t>(integer) * kOne + static_cast<std::int64_t>(fraction);
}

std::int64_t IntegerPart(std::int64_t fixed) { return fixed >> 32; }
std::uint32_t Fraction(std::int64_t fixed) { return static_cast<std::uint32_t>(fixed); }
// The top 8 bits of the fraction: the interpolation weight.
std::uint32_t Weight(std::int64_t fixed) { return static_cast<std::uint32_t>(fixed >> 24) & 0xFF; }

// Interpolation from a to b by f / 256, f from 0 to 255.
Coverage Lerp(Coverage a, Coverage b, std::uint32_t f) {
  return static_cast<Coverage>(a + (((b - a) * static_cast<std::int32_t>(f)) >> 8));
}

// The same on packed pixels, two channels per multiplication. Unsigned arithmetic wraps where
// signed differences would overflow; the masked bits are those of the signed computation.
Pixel Lerp(Pixel a, Pixel b, std::uint32_t f) {
  const std::uint32_t rb = (((((b & 0x00FF00FFu) - (a & 0x00FF00FFu)) * f) >> 8) + (a & 0x00FF00FFu)) & 0x00FF00FFu;
  const std::uint32_t ag = ((((b & 0xFF00FF00u) >> 8) - ((a & 0xFF00FF00u) >> 8)) * f + (a & 0xFF00FF00u)) & 0xFF00FF00u;
  return rb + ag;
}

// Bilinear interpolation runs three lerps; on pixels they work with the four channels spread into
// the 16-bit lanes of one 64-bit word, one multiplication each. Every lane ends with the bits that
// the two-channel form gives it: what a lane borrows from or carries into the next stays within
// the bits that the mask clears.
constexpr std::uint64_t kLanes = 0x00FF00FF00FF00FFull;
std::uint64_t Spread(Pixel p) {
  return (p & 0x00FF00FFu) | static_cast<std::uint64_t>(p & 0xFF00FF00u) << 24;
}
Pixel Gather(std::uint64_t lanes) {
  return static_cast<Pixel>((lanes & 0x00FF00FFu) | ((lanes >> 24) & 0xFF00FF00u));
}
std::uint64_t LerpLanes(std::uint64_t a, std::uint64_t b, std::uint32_t f) {
  return ((((b - a) * f) >> 8) + a) & kLanes;
}

Coverage Bilinear(Coverage p00, Coverage p10, Coverage p01, Coverage p11, std::uint32_t fx, std::uint32_t fy) {
  return Lerp(Lerp(p00, p10, fx), Lerp(p01, p11, fx), fy);
}

Pixel Bilinear(Pixel p00, Pixel p10, Pixel p01, Pixel p11, std::uint32_t fx, std::uint32_t fy) {
  return Gather(LerpLanes(LerpLanes(Spread(p00), Spread(p10), fx), LerpLanes(Spread(p01), Spread(p11), fx), fy));
}

// Number of steps, at most limit, for which a position starting at p (0 <= p < end) and moving by
// step stays below end and not below 0.
std::int32_t StepsWithin(std::int64_t p, std::int64_t step, std::int64_t end, std::int32_t limit) {
  std::int64_t n = limit;
  if (step > 0) {
    n = (end - 1 - p) / step + 1;
  } else if (step < 0) {
    n = p / -step + 1;
  }
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, limit));
}

}  // namespace

template <typename Value>
ImageSampler<Value>::ImageSampler(const BasicImage<Value>& image, bool repeat, const Transform& t, const IntRect& clip)
    : fSource(image.GetBounds().Intersect(clip)),
      fStride(image.GetStride()),
      fOpaque(image.IsOpaque()),
      fRepeat(repeat) {
  if (!fSource.IsEmpty()) {
    fFirst = image.At(fSource.x, fSource.y);
  }
  Setup(t);
}

template <typename Value>
void ImageSampler<Value>::Setup(const Transform& t) {
  // An infinite determinant has no inverse to sample with either.
  const double det = t.a * t.e - t.b * t.d;
  if (!(std::fabs(det) >= 1e-8) || !std::isfinite(det)) {
    return;
  }
  if (!fRepeat) {
    // The transformed source rectangle, grown by a pixel on every side for the interpolated edges.
    // When it reaches infinity it reaches everywhere.
    Path outline;
    outline.AddRect(fSource.x - 1.0, fSource.y - 1.0, fSource.width + 1.0, fSource.height + 1.0);
    outline.Transform(t);
    const std::vector<Path::Vertex>& corners = outline.GetVertices();
    const bool finite = std::all_of(corners.begin(), corners.end(),
                                    [](const Path::Vertex& v) { return std::isfinite(v.x) && std::isfinite(v.y); });
    const IntRect box = finite ? outline.GetIntBounds() : WholePlaneRect;
    const std::int64_t left = std::int64_t{box.x} - 1;
    const std::int64_t top = std::int64_t{box.y} - 1;
    const std::int64_t right = std::int64_t{box.x} + box.width + 2;
    const std::int64_t bottom = std::int64_t{box.y} + box.height + 2;
    const std::int64_t planeLeft = WholePlaneRect.x;
    const std::int64_t planeRight = std::int64_t{WholePlaneRect.x} + WholePlaneRect.width;
    const std::int64_t l = std::max(left, planeLeft);
    const std::int64_t tp = std::max(top, planeLeft);
    fBounds = IntRect(static_cast<std::int32_t>(l), static_cast<std::int32_t>(tp),
                      static_cast<std::int32_t>(std::min(right, planeRight) - l),
                      static_cast<std::int32_t>(std::min(bottom, planeRight) - tp));
  }
  const double r = 1 / det;
  const double inverse[6] = {t.e * r, -t.d * r, -t.b * r, t.a * r, (t.b * t.f - t.c * t.e) * r,
                             (t.c * t.d - t.a * t.f) * r};
  // The origin counts from the source rectangle's top-left, where its integer part must stay a
  // 32-bit number too.
  bool inRange = std::fabs(inverse[4] - fSource.x) < kLargestOrigin && std::fabs(inverse[5] - fSource.y) < kLargestOrigin;
  for (const double value : inverse) {
    inRange = inRange && std::fabs(value) <= kLargestInverseValue;
  }
  if (!inRange) {
    fBounds = WholePlaneRect;
    return;
  }
  fDuDx = ToFixed(inverse[0]);
  fDvDx = ToFixed(inverse[1]);
  fDuDy = ToFixed(inverse[2]);
  fDvDy = ToFixed(inverse[3]);
  fUOrigin = ToFixed(inverse[4]) - std::int64_t{fSource.x} * kOne;
  fVOrigin = ToFixed(inverse[5]) - std::int64_t{fSource.y} * kOne;
  fPixelStep = IntegerPart(fDvDx) * fStride + IntegerPart(fDuDx);

  const bool uAligned = Fraction(fDuDx) == 0 && Fraction(fDuDy) == 0 && Fraction(fUOrigin) < (1u << 24);
  const bool vAligned = Fraction(fDvDx) == 0 && Fraction(fDvDy) == 0 && Fraction(fVOrigin) < (1u << 24);
  if (uAligned && vAligned) {
    fKind = fDuDx == kOne && fDuDy == 0 && fDvDx == 0 && fDvDy == kOne ? kTranslation : kIntegerMapping;
  } else if ((IntegerPart(fDuDx) == -1 || IntegerPart(fDuDx) == 0) && fDvDx == 0) {
    fKind = kHorizontalStretch;
  } else if (vAligned) {
    fKind = kAcross;
  } else if (uAligned) {
    fKind = kDown;
  } else {
    fKind = kBilinear;
  }
}

template <typename Value>
typename ImageSampler<Value>::Position ImageSampler<Value>::StartPosition(std::int32_t x, std::int32_t y) const {
  switch (fKind) {
    case kTranslation:
      return {(Wide{x} + IntegerPart(fUOrigin)) * kOne, (Wide{y} + IntegerPart(fVOrigin)) * kOne};
    case kIntegerMapping:
      return {(Wide{IntegerPart(fDuDx)} * x + Wide{IntegerPart(fDuDy)} * y + IntegerPart(fUOrigin)) * kOne,
              (Wide{IntegerPart(fDvDx)} * x + Wide{IntegerPart(fDvDy)} * y + IntegerPart(fVOrigin)) * kOne};
    default:
      return {Wide{fDuDx} * x + Wide{fDuDy} * y + fUOrigin, Wide{fDvDx} * x + Wide{fDvDy} * y + fVOrigin};
  }
}

template <typename Value>
void ImageSampler<Value>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) const {
  const std::int64_t right = std::int64_t{fBounds.x} + fBounds.width;
  if (fKind == kDegenerate || fSource.IsEmpty() || y < fBounds.y || y >= std::int64_t{fBounds.y} + fBounds.height ||
      std::int64_t{x} + count <= fBounds.x || x >= right) {
    list.AppendTransparent(count);
    return;
  }
  // Only the columns inside the bounds are sampled, so that no rounding of the inverse transform
  // can show anything outside them.
  const std::int64_t end = std::int64_t{x} + count;
  if (x < fBounds.x) {
    list.AppendTransparent(fBounds.x - x);
  }
  const std::int32_t from = std::max(x, fBounds.x);
  const std::int32_t to = static_cast<std::int32_t>(std::min(end, right));
  Sample(from, y, to - from, list);
  if (end > right) {
    list.AppendTransparent(static_cast<std::int32_t>(end - right));
  }
}

template <typename Value>
void ImageSampler<Value>::Sample(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) const {
  const Wide w = fSource.width;
  const Wide h = fSource.height;
  Position p = StartPosition(x, y);
  for (std::int32_t done = 0; done < count;) {
    const Wide ui = p.u >> 32;
    const Wide vi = p.v >> 32;
    if (ui >= -1 && ui < w && vi >= -1 && vi < h) {
      const bool interior = ui >= 0 && ui + 1 < w && vi >= 0 && vi + 1 < h;
      done += interior ? SampleInterior(p, count - done, list) : SampleBorder(p, count - done, list);
    } else if (fRepeat) {
      // Into the tile that holds the source rectangle; the fractions stay.
      p.u = (((ui % w) + w) % w) * kOne + (p.u & (kOne - 1));
      p.v = (((vi % h) + h) % h) * kOne + (p.v & (kOne - 1));
    } else {
      done += SkipOutside(p, count - done, list);
    }
  }
}

template <typename Value>
std::int32_t ImageSampler<Value>::SampleInterior(Position& p, std::int32_t count, SpanList<Value>& list) const {
  // Inside the interior every position fits 64 bits; the stretch ends where it would leave it.
  std::int64_t u = static_cast<std::int64_t>(p.u);
  std::int64_t v = static_cast<std::int64_t>(p.v);
  const std::int32_t n = std::min(StepsWithin(u, fDuDx, (fSource.width - std::int64_t{1}) * kOne, count),
                                  StepsWithin(v, fDvDx, (fSource.height - std::int64_t{1}) * kOne, count));
  p.u += Wide{fDuDx} * n;
  p.v += Wide{fDvDx} * n;
  const Value* at = fFirst + IntegerPart(v) * fStride + IntegerPart(u);
  if (fKind == kTranslation) {
    list.AppendLiteral(n, const_cast<Value*>(at), fOpaque);
    return n;
  }
  Value* const out = list.fStorageCursor;
  const std::ptrdiff_t stride = fStride;
  switch (fKind) {
    case kIntegerMapping:
      for (std::int32_t i = 0; i < n; ++i, at += fPixelStep) {
        out[i] = *at;
      }
      break;
    case kHorizontalStretch: {
      // Rows map to one row: interpolate each source column down once, then across.
      const std::uint32_t fy = Weight(v);
      const Value* row = fFirst + IntegerPart(v) * stride;
      std::int64_t column = IntegerPart(u);
      Value left = Lerp(row[column], row[column + stride], fy);
      Value right = Lerp(row[column + 1], row[column + 1 + stride], fy);
      for (std::int32_t i = 0; i < n; ++i, u += fDuDx) {
        const std::int64_t c = IntegerPart(u);
        if (c != column) {
          if (c == column + 1) {
            left = right;
          } else {
            left = Lerp(row[c], row[c + stride], fy);
          }
          right = Lerp(row[c + 1], row[c + 1 + stride], fy);
          column = c;
        }
        out[i] = Lerp(left, right, Weight(u));
      }
      break;
    }
    case kAcross:
      for (std::int32_t i = 0; i < n; ++i, u += fDuDx, v += fDvDx) {
        const Value* q = fFirst + IntegerPart(v) * stride + IntegerPart(u);
        out[i] = Lerp(q[0], q[1], Weight(u));
      }
      break;
    case kDown:
      for (std::int32_t i = 0; i < n; ++i, u += fDuDx, v += fDvDx) {
        const Value* q = fFirst + IntegerPart(v) * stride + IntegerPart(u);
        out[i] = Lerp(q[0], q[stride], Weight(v));
      }
      break;
    default:
      for (std::int32_t i = 0; i < n; ++i, u += fDuDx, v += fDvDx) {
        const Value* q = fFirst + IntegerPart(v) * stride + IntegerPart(u);
        out[i] = Bilinear(q[0], q[1], q[stride], q[stride + 1], Weight(u), Weight(v));
      }
      break;
  }
  list.AppendLiteral(n, out, fOpaque);
  return n;
}

template <typename Value>
Value ImageSampler<Value>::Fetch(std::int64_t u, std::int64_t v) const {
  const std::int64_t w = fSource.width;
  const std::int64_t h = fSource.height;
  if (u < 0 || u >= w || v < 0 || v >= h) {
    if (!fRepeat) {
      return Value{0};
    }
    u = u < 0 ? w - 1 : (u >= w ? 0 : u);
    v = v < 0 ? h - 1 : (v >= h ? 0 : v);
  }
  return fFirst[v * fStride + u];
}

template <typename Value>
std::int32_t ImageSampler<Value>::SampleBorder(Position& p, std::int32_t count, SpanList<Value>& list) const {
  const Wide w = fSource.width;
  const Wide h = fSource.height;
  Value* const out = list.fStorageCursor;
  std::int32_t n = 0;
  for (; n < count; ++n) {
    const Wide ui = p.u >> 32;
    const Wide vi = p.v >> 32;
    const bool border = ui >= -1 && ui < w && vi >= -1 && vi < h && !(ui >= 0 && ui + 1 < w && vi >= 0 && vi + 1 < h);
    if (!border) {
      break;
    }
    const std::int64_t u = static_cast<std::int64_t>(ui);
    const std::int64_t v = static_cast<std::int64_t>(vi);
    out[n] = Bilinear(Fetch(u, v), Fetch(u + 1, v), Fetch(u, v + 1), Fetch(u + 1, v + 1),
                      Weight(static_cast<std::int64_t>(p.u)), Weight(static_cast<std::int64_t>(p.v)));
    p.u += fDuDx;
    p.v += fDvDx;
  }
  list.AppendLiteral(n, out, fRepeat && fOpaque);
  return n;
}

template <typename Value>
bool ImageSampler<Value>::IsBeyondSameSide(const Position& p, const Position& q) const {
  const Wide pu = p.u >> 32;
  const Wide pv = p.v >> 32;
  const Wide qu = q.u >> 32;
  const Wide qv = q.v >> 32;
  return (pu < -1 && qu < -1) || (pu >= fSource.width && qu >= fSource.width) || (pv < -1 && qv < -1) ||
         (pv >= fSource.height && qv >= fSource.height);
}

template <typename Value>
std::int32_t ImageSampler<Value>::SkipOutside(Position& p, std::int32_t count, SpanList<Value>& list) const {
  // Positions beyond one side of the rectangle stay beyond it along the row, so steps of halving
  // length whose two ends lie beyond the same side skip transparent values wholesale.
  std::int32_t k = 0;
  for (std::int32_t step = 512; step >= 1; step /= 2) {
    const Position q{p.u + Wide{fDuDx} * step, p.v + Wide{fDvDx} * step};
    if (IsBeyondSameSide(p, q)) {
      p = q;
      k += step;
      if (k >= count) {
        list.AppendTransparent(count);
        return count;
      }
    }
  }
  p.u += fDuDx;
  p.v += fDvDx;
  list.AppendTransparent(k + 1);
  return k + 1;
}

template class ImageSampler<Pixel>;
template class ImageSampler<Coverage>;

}  // namespace QorRaster
