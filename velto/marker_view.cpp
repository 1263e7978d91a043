#include "velto/marker_view.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>

#include "base/clock.h"
#include "base/expression.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "raster/combine.h"
#include "raster/filter.h"
#include "raster/limits.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "raster/transform.h"
#include "velto/angles.h"
#include "velto/readers.h"

namespace Velto {

namespace {

constexpr double kMinAngleStep = 2.0 * std::numbers::pi / 100.0;
constexpr double kDefaultRate = 20.0;

// Makes views built in the same millisecond differ (main thread only).
std::uint32_t gSeedCounter = 0;

// A xorshift generator over two 32-bit words, warmed up from its seed.
class cXorShift {
 public:
  explicit cXorShift(std::uint32_t seed) : fA(seed), fB(0x6C078965u) {
    for (int i = 0; i < 8; ++i) Next();
  }
  std::uint32_t Next() {
    const std::uint32_t t = fA ^ (fA << 10);
    const std::uint32_t word = fB ^ (fB >> 13) ^ t ^ (t >> 10);
    fA = fB;
    fB = word;
    return word;
  }
  // In [0, 1), from two words.
  double Uniform() {
    const std::uint32_t w1 = Next();
    const std::uint32_t w2 = Next();
    return std::ldexp(static_cast<double>(w2), -32) + std::ldexp(static_cast<double>(w1), -64);
  }

 private:
  std::uint32_t fA;
  std::uint32_t fB;
};

// The value rounded to single precision; beyond its range it becomes an infinity.
double ToSingle(double v) {
  if (std::fabs(v) > FLT_MAX) return std::copysign(HUGE_VAL, v);
  return static_cast<float>(v);
}

double Evaluate(const Description& description, const char* key, double defaultValue) {
  return Wex::EvaluateExpression(Wex::ValueOf(description, key), defaultValue);
}

std::int32_t ReadOutlineMix(const Description& description) {
  const double weight = Evaluate(description, "outlineMix", 0.0) * 2.5599999;
  return std::clamp(QorRaster::TruncateSaturated<std::int32_t>(weight), 0, 255);
}

}  // namespace

rcMarkerView::rcMarkerView(const Wex::cRect& r, const Description& d)
    : rcGUIElement(r),
      fGamma(Evaluate(d, "gamma", 1.0)),
      fCenter(ReadRealPoint(Wex::ValueOf(d, "center"), {})),
      fSize(ReadRealPoint(Wex::ValueOf(d, "size"), {})),
      fRotation(Evaluate(d, "rotation", 0.0) * kRadiansPerDegree),
      fRandomness(Evaluate(d, "random", 0.0) * 0.01),
      fPen(ReadStroke(Wex::ValueOf(d, "pen"), 0xFF000000)),
      fQuality(Evaluate(d, "quality", 1.0)),
      fInterval(ReadTickInterval(Wex::ValueOf(d, "updateRate"), kDefaultRate)),
      fSeed(static_cast<std::uint32_t>(Wex::GetMilliseconds()) ^ gSeedCounter++),
      fStart(Evaluate(d, "start", 0.0) * kRadiansPerDegree),
      fSweep(Evaluate(d, "sweep", 360.0) * kRadiansPerDegree),
      fOutlineMix(ReadOutlineMix(d)),
      fOutlineWidth(Evaluate(d, "outlineWidth", 0.0)),
      fPhaseStep(fInterval * 0.001 * (2.0 * std::numbers::pi / Evaluate(d, "time", 1.0))) {
  // A negative share of randomness would take the root of a negative number.
  if (!(fRandomness >= 0.0 && std::isfinite(fRandomness))) fRandomness = 0.0;
}

void rcMarkerView::OnHostAttached(Wex::rcGUIRoot& host) {
  StartTimer(fInterval, kTickTimer);
  rcGUIElement::OnHostAttached(host);
}

void rcMarkerView::OnTimer(Wex::rcScheduler&, std::int32_t, std::int32_t now, std::uint32_t id) {
  if (id != kTickTimer) return;
  fPhase += fPhaseStep;
  if (fPhase < fSweep) {
    StartTimerAt(Wex::WrapAdd(now, fInterval), kTickTimer);
  } else {
    fPhase = fSweep;
  }
  try {
    Render();
  } catch (...) {
    // The loop outgrew the raster library's limits (or memory): it stays as last drawn.
    StopTimer(kTickTimer);
  }
}

void rcMarkerView::Render() {
  const double length = std::sqrt(fSize.x * fSize.x + fSize.y * fSize.y);
  // The loop's irregularity is relative to its size: a size of no length has no loop.
  if (!(length > 0.0 && std::isfinite(length))) return;
  cXorShift random(fSeed);
  const double amplitude = std::sqrt(fRandomness / length * 0.1);
  double f[4];
  for (double& factor : f) factor = 1.0 + (2.0 * random.Uniform() - 1.0) * amplitude;
  double d = 2.0 / (std::max(std::fabs(fSize.x), std::fabs(fSize.y)) * fQuality);
  if (!(d > kMinAngleStep)) d = kMinAngleStep;
  const double low = ToSingle(-2.0 * fRandomness);
  const double high = ToSingle(10.0 * fRandomness);
  double s = low + (high - low) * random.Uniform();

  QorRaster::Path loop;
  loop.MoveTo(1.0, 0.0);
  const double c = std::cos(d);
  const double n = std::sin(d);
  double x = 1.0;
  double y = 0.0;
  // Each step appends a vertex, so the path's vertex limit ends any loop.
  while (s <= fPhase) {
    const double nx = f[0] * c * x - f[1] * n * y;
    y = f[2] * n * x + f[3] * c * y;
    x = nx;
    loop.LineTo(x, y);
    s += d;
  }
  const double jitter = fStart + (4.0 * random.Uniform() - 2.0) * 2.0 * std::numbers::pi * fRandomness;
  loop.Transform(
      QorRaster::Transform().Rotate(jitter).Scale(fSize.x, fSize.y).Rotate(fRotation).Translate(fCenter.x, fCenter.y));

  QorRaster::Path stroke = loop;
  fPen.StrokePath(stroke);
  QorRaster::Path ring = stroke;
  cStroke ringPen;  // butt caps, bevel joints, miter limit 2, quality 1
  ringPen.fWidth = fOutlineWidth;
  ringPen.StrokePath(ring);

  // What lies outside the view is never shown.
  const QorRaster::IntRect bounds =
      stroke.GetIntBounds().Unite(ring.GetIntBounds()).Intersect(EdgesToRect(GetBounds()));
  QorRaster::PolygonMask strokeCoverage(stroke, bounds, &QorRaster::kNonZeroRule);
  QorRaster::PolygonMask ringCoverage(ring, bounds, &QorRaster::kNonZeroRule);
  QorRaster::SolidMask ringWeight(static_cast<QorRaster::Coverage>(fOutlineMix));
  QorRaster::SolidMask strokeWeight(static_cast<QorRaster::Coverage>(255 - fOutlineMix));
  QorRaster::MaskedMask ringPart(&ringCoverage, &ringWeight);
  QorRaster::MaskedMask strokePart(&strokeCoverage, &strokeWeight);
  QorRaster::AddMask mixed(&ringPart, &strokePart);
  QorRaster::LookupMask corrected(&mixed, &fGamma);
  QorRaster::SolidPaint color(fPen.fColor);
  QorRaster::MaskedPaint paint(&color, &corrected);
  auto image = std::make_unique<QorRaster::RLEImage>(bounds, paint);
  fImage = std::move(image);
  InvalidateAll();
}

void rcMarkerView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  if (!fImage) return;
  const QorRaster::IntRect shown = fImage->GetBounds().Intersect(EdgesToRect(update));
  if (shown.IsEmpty()) return;
  cContextCanvas canvas(context);
  canvas.Draw(*fImage);
}

ref<Wex::rcGUIElement> MakeMarkerView(rcRootView&, const Wex::cRect& bounds, const Description& description) {
  return ref<Wex::rcGUIElement>(new rcMarkerView(bounds, description));
}

}  // namespace Velto
