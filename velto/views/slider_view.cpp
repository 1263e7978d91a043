#include "velto/views/slider_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "gui/resources/stroke.h"
#include "raster/combine.h"
#include "raster/image_sampler.h"
#include "raster/limits.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "velto/angles.h"
#include "velto/readers.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// A pixel coordinate: saturated, NaN giving 0.
std::int32_t ToPixel(double v) { return std::isnan(v) ? 0 : QorRaster::TruncateSaturated<std::int32_t>(v); }

bool IsFinite(const QorRaster::Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The smallest rectangle holding both; an empty one gives the other.
Wex::cRect Unite(const Wex::cRect& a, const Wex::cRect& b) {
  if (a.fLeft >= a.fRight || a.fTop >= a.fBottom) return b;
  if (b.fLeft >= b.fRight || b.fTop >= b.fBottom) return a;
  return {std::min(a.fLeft, b.fLeft), std::min(a.fTop, b.fTop), std::max(a.fRight, b.fRight),
          std::max(a.fBottom, b.fBottom)};
}

// Fills the path with the colour under the non-zero rule.
void FillPath(QorRaster::Image& canvas, const QorRaster::Path& path, std::uint32_t color) {
  QorRaster::SolidPaint paint(color);
  QorRaster::PolygonMask coverage(path, canvas.GetBounds(), &QorRaster::kNonZeroRule);
  QorRaster::MaskedPaint layer(&paint, &coverage);
  canvas.Draw(layer);
}

}  // namespace

rcValueControlView::rcValueControlView(const Wex::cRect& r, cSliderDesign design)
    : rcValueView(r), fDesign(std::move(design)) {}

double rcValueControlView::ParameterOfValue(double value) {
  const double t = (value - GetMinimum()) / (GetMaximum() - GetMinimum());
  return std::isfinite(t) ? t : 0.0;  // an empty range puts every value at 0
}

double rcValueControlView::ValueAtParameter(double t) {
  const double v = GetMinimum() + t * (GetMaximum() - GetMinimum());
  return std::isnan(v) ? GetMinimum() : v;
}

double rcValueControlView::RawToValue(double x) const {
  const double s = GetSnapValue();
  const double w = fSnapZone;
  if (x < s - w) return x + w;
  if (x > s + w) return x - w;
  return s;
}

double rcValueControlView::ValueToRaw(double x) const {
  const double s = GetSnapValue();
  if (x < s) return x - fSnapZone;
  if (x > s) return x + fSnapZone;
  return s;
}

const cSliderLook& rcValueControlView::LookAt(double value) const {
  return std::fabs(value - GetSnapValue()) < kSnapEpsilon ? fDesign.fSnapLook : fDesign.fCapLook;
}

bool rcValueControlView::IsOnCap(const Wex::cPoint& p, double value) {
  const QorRaster::Point c = PointAtParameter(ParameterOfValue(value));
  const double w = fDesign.fCapWidth;
  const double h = fDesign.fCapHeight;
  if (fDesign.fCapRounded) {
    const double dx = (p.fX - c.x) / w;
    const double dy = (p.fY - c.y) / h;
    return dx * dx + dy * dy < 0.25;
  }
  return std::floor(c.x - w / 2) <= p.fX && p.fX < std::ceil(c.x + w / 2) && std::floor(c.y - h / 2) <= p.fY &&
         p.fY < std::ceil(c.y + h / 2);
}

bool rcValueControlView::ContainsPoint(const Wex::cPoint& p) {
  const double t = std::clamp(ParameterAtPoint({static_cast<double>(p.fX), static_cast<double>(p.fY)}), 0.0, 1.0);
  return IsOnCap(p, ValueAtParameter(t));
}

QorRaster::Transform rcValueControlView::GetCapImageTransform(const QorRaster::Point& p) const {
  const ref<rcImageResource>& image = fDesign.fCapLook.fImage ? fDesign.fCapLook.fImage : fDesign.fSnapLook.fImage;
  const Wex::cRect b = image ? image->GetBounds() : Wex::cRect();
  return QorRaster::Transform()
      .Translate(-b.Width() / 2.0, -b.Height() / 2.0)
      .ScaleUniform(fDesign.fCapImageScale)
      .Translate(p.x, p.y);
}

Wex::cRect rcValueControlView::GetCapArea() {
  const double value = GetValue();
  const QorRaster::Point c = PointAtParameter(ParameterOfValue(value));
  const cSliderLook& look = LookAt(value);
  Wex::cRect area;
  if (look.fColor != 0) {  // the colour drawn, so that a snap colour over no cap colour is redrawn
    const double w = fDesign.fCapWidth / 2 + 1;
    const double h = fDesign.fCapHeight / 2 + 1;
    area = {ToPixel(std::floor(c.x - w)), ToPixel(std::floor(c.y - h)), ToPixel(std::ceil(c.x + w)),
            ToPixel(std::ceil(c.y + h))};
  }
  const ref<rcImageResource> drawn = look.fImage ? look.fImage : fDesign.fCapLook.fImage;
  const ref<rcImageResource>& measured = fDesign.fCapLook.fImage ? fDesign.fCapLook.fImage : drawn;
  if (measured) {
    const Wex::cRect b = measured->GetBounds();
    const QorRaster::Transform t = GetCapImageTransform(c);
    const QorRaster::Point corners[] = {t.Apply({static_cast<double>(b.fLeft), static_cast<double>(b.fTop)}),
                                        t.Apply({static_cast<double>(b.fRight), static_cast<double>(b.fTop)}),
                                        t.Apply({static_cast<double>(b.fLeft), static_cast<double>(b.fBottom)}),
                                        t.Apply({static_cast<double>(b.fRight), static_cast<double>(b.fBottom)})};
    double left = corners[0].x, top = corners[0].y, right = left, bottom = top;
    for (const QorRaster::Point& q : corners) {
      left = std::fmin(left, q.x);
      top = std::fmin(top, q.y);
      right = std::fmax(right, q.x);
      bottom = std::fmax(bottom, q.y);
    }
    area = Unite(area, {ToPixel(std::floor(left)), ToPixel(std::floor(top)), ToPixel(std::ceil(right)),
                        ToPixel(std::ceil(bottom))});
  }
  return area;
}

ref<rcImage> rcValueControlView::GetFilmFrame(double value) {
  const iref<iFilm> film = fDesign.fFilm;
  if (!film) return nullptr;
  const double n = std::max(film->GetFrameRange(), 1);
  double index = std::floor((n - 1) * ParameterOfValue(value) + 0.5);
  index = std::isnan(index) ? 0 : std::clamp(index, 0.0, n - 1);
  return film->GetFrame(static_cast<std::int32_t>(index));
}

void rcValueControlView::InvalidateArea(const Wex::cRect& r) {
  if (r.fLeft < r.fRight && r.fTop < r.fBottom) InvalidateRect(r);
}

bool rcValueControlView::SetValue(double value) {
  const Wex::cRect old = GetCapArea();
  if (!StoreValue(value)) return false;
  InvalidateArea(fDrawnFilmArea);
  if (const ref<rcImage> frame = GetFilmFrame(GetValue())) InvalidateArea(frame->GetBounds().Moved(fDesign.fFilmOffset));
  InvalidateArea(old);
  InvalidateArea(GetCapArea());
  return true;
}

void rcValueControlView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect&) {
  const double value = GetValue();
  if (const ref<rcImage> frame = GetFilmFrame(value)) {
    frame->Draw(context, fDesign.fFilmOffset);
    fDrawnFilmArea = frame->GetBounds().Moved(fDesign.fFilmOffset);
  }
  cContextCanvas canvas(context);
  try {
    if (fDesign.fSlitColor != 0) {
      cStroke slit;
      slit.fColor = fDesign.fSlitColor;
      slit.fWidth = fDesign.fSlitThickness;
      slit.fCaps = 1;    // round
      slit.fJoints = 2;  // miter
      slit.fMiterLimit = 2.0;
      slit.fQuality = 1.0;
      QorRaster::Path path;
      GetSlitPath(path);
      FillPath(canvas, slit.StrokePath(path), slit.fColor);
    }
    const QorRaster::Point c = PointAtParameter(ParameterOfValue(value));
    const cSliderLook& look = LookAt(value);
    if (look.fColor != 0 && IsFinite(c)) {
      const double w = fDesign.fCapWidth;
      const double h = fDesign.fCapHeight;
      QorRaster::Path cap;
      if (fDesign.fCapRounded) {
        cap.AddEllipse(c.x, c.y, w / 2, h / 2, 1.0);
      } else {
        cap.AddRect(c.x - w / 2, c.y - h / 2, w, h);
      }
      FillPath(canvas, cap, look.fColor);
    }
    if (const ref<rcImageResource> image = look.fImage ? look.fImage : fDesign.fCapLook.fImage) {
      QorRaster::TransformedPaint placed(image->GetRasterImage(), false, GetCapImageTransform(c),
                                         QorRaster::WholePlaneRect);
      canvas.Draw(placed);
    }
  } catch (const QorRaster::LimitException&) {
    // A slit or cap too large for the raster library is not drawn.
  }
}

bool rcValueControlView::MouseDown(const Wex::cPoint& p, std::int32_t time, bool,
                                   const Wex::cKeyModifiers& modifiers) {
  if (fDesign.fReadOnly || modifiers.fSecondaryClick || !IsEnabled() || !HasExtent()) return false;
  const double value = GetValue();
  fAccumulator = value;
  fLastParameter = ParameterAtPoint({static_cast<double>(p.fX), static_cast<double>(p.fY)});
  fFineMode = modifiers.fShift;
  if (!IsOnCap(p, value)) {
    const double v = ValueAtParameter(std::clamp(fLastParameter, 0.0, 1.0));
    if (!IsOnCap(p, v)) return false;
    if (!modifiers.fShift) fAccumulator = v;
  }
  if (const ref<rcHintWindow> window = GetHintWindow()) window->HideAnyHint();
  fResetToDefault = modifiers.fCommand;
  if (IsSnapEnabled()) {
    fSnapZone = std::fabs((GetMaximum() - GetMinimum()) * DistanceToParameter(fDesign.fSnapArea));
    if (!modifiers.fShift) fAccumulator = ValueToRaw(fAccumulator);
  }
  ShowHintNow(p);
  StartTracking(p, time, modifiers);
  return true;
}

void rcValueControlView::TrackMouse(const Wex::cPoint& p, std::int32_t, const Wex::cKeyModifiers& modifiers) {
  if (fResetToDefault) {
    SetValue(GetDefaultValue());
    return;
  }
  const double t = ParameterAtPoint({static_cast<double>(p.fX), static_cast<double>(p.fY)});
  const double d = WrapParameterDelta(t - fLastParameter) * (GetMaximum() - GetMinimum());
  fLastParameter = t;
  if (modifiers.fShift != fFineMode) {
    fFineMode = modifiers.fShift;
    if (IsSnapEnabled()) fAccumulator = fFineMode ? RawToValue(fAccumulator) : ValueToRaw(fAccumulator);
  }
  if (fFineMode) {
    fAccumulator += d * fDesign.fFineRatio;
    SetValue(fAccumulator);
  } else {
    fAccumulator += d;
    SetValue(IsSnapEnabled() ? RawToValue(fAccumulator) : fAccumulator);
  }
}

rcSliderView::rcSliderView(const Wex::cRect& r, cSliderDesign design, const QorRaster::Point& start,
                           const QorRaster::Point& end)
    : rcValueControlView(r, std::move(design)), fStart(start), fEnd(end) {}

bool rcSliderView::HasExtent() const {
  const double dx = fEnd.x - fStart.x;
  const double dy = fEnd.y - fStart.y;
  const double squared = dx * dx + dy * dy;
  return IsFinite(fStart) && IsFinite(fEnd) && squared > 0 && std::isfinite(squared);
}

double rcSliderView::ParameterAtPoint(const QorRaster::Point& p) const {
  if (!HasExtent()) return 0.0;
  const double dx = fEnd.x - fStart.x;
  const double dy = fEnd.y - fStart.y;
  const double t = ((p.x - fStart.x) * dx + (p.y - fStart.y) * dy) / (dx * dx + dy * dy);
  return std::isfinite(t) ? t : 0.0;
}

QorRaster::Point rcSliderView::PointAtParameter(double t) const {
  return {fStart.x + t * (fEnd.x - fStart.x), fStart.y + t * (fEnd.y - fStart.y)};
}

double rcSliderView::DistanceToParameter(double pixels) const {
  if (!HasExtent()) return 0.0;
  return pixels / std::hypot(fEnd.x - fStart.x, fEnd.y - fStart.y);
}

double rcSliderView::WrapParameterDelta(double delta) const { return HasExtent() ? delta : 0.0; }

void rcSliderView::GetSlitPath(QorRaster::Path& path) const {
  if (!IsFinite(fStart) || !IsFinite(fEnd)) return;
  path.MoveTo(fStart.x, fStart.y).LineTo(fEnd.x, fEnd.y);
}

rcArcSliderView::rcArcSliderView(const Wex::cRect& r, cSliderDesign design, const QorRaster::Point& center,
                                 double radius, double startAngle, double sweep)
    : rcValueControlView(r, std::move(design)),
      fCenter(center),
      fRadius(radius),
      fStartAngle(startAngle),
      fSweep(sweep) {}

bool rcArcSliderView::HasExtent() const {
  return IsFinite(fCenter) && std::isfinite(fRadius) && std::isfinite(fStartAngle) && std::isfinite(fSweep) &&
         fRadius != 0 && fSweep != 0 && std::isfinite(fSweep * fRadius);
}

double rcArcSliderView::ParameterAtPoint(const QorRaster::Point& p) const {
  if (!HasExtent()) return 0.0;
  const double h = kPi - fSweep / 2;
  const double a = std::atan2(p.x - fCenter.x, fCenter.y - p.y);
  const double t = (Modulo2Pi(a - fStartAngle + h) - h) / fSweep;
  return std::isfinite(t) ? t : 0.0;
}

QorRaster::Point rcArcSliderView::PointAtParameter(double t) const {
  const double a = fStartAngle + t * fSweep;
  return {fCenter.x + fRadius * std::sin(a), fCenter.y - fRadius * std::cos(a)};
}

double rcArcSliderView::DistanceToParameter(double pixels) const {
  return HasExtent() ? pixels / (fSweep * fRadius) : 0.0;
}

double rcArcSliderView::WrapParameterDelta(double delta) const {
  if (!HasExtent()) return 0.0;
  const double d = WrapAngle(delta * fSweep) / fSweep;
  return std::isfinite(d) ? d : 0.0;
}

void rcArcSliderView::GetSlitPath(QorRaster::Path& path) const {
  if (!IsFinite(fCenter) || !std::isfinite(fRadius) || !std::isfinite(fStartAngle) || !std::isfinite(fSweep)) return;
  const QorRaster::Point start = PointAtParameter(0);
  if (std::fabs(fSweep) >= kTwoPi - 1e-6) {
    path.AddEllipse(fCenter.x, fCenter.y, fRadius, fRadius, 1.0);
  } else {
    path.MoveTo(start.x, start.y).ArcTo(fCenter.x, fCenter.y, std::min(fSweep, kTwoPi), 1.0, 1.0);
  }
}

namespace {

// The cap look, shape, size and image scale of a "cap" block.
cSliderLook ReadCap(rcRootView& root, std::string_view text, cSliderDesign& design) {
  cSliderLook look;
  if (text.empty()) return look;
  const Description cap = Wex::ParseKeyValueMap(text);
  const double rounded = Wex::EvaluateExpression(Wex::ValueOf(cap, "rounded"), 0);
  if (rounded != 0 && rounded != 100) {
    throw FormatException("Unsupported cap roundness: " + Wex::DoubleToString(rounded));
  }
  design.fCapRounded = rounded == 100;
  const QorRaster::Point size = ReadRealPoint(Wex::ValueOf(cap, "size"), {10, 10});
  design.fCapWidth = size.x;
  design.fCapHeight = size.y;
  look.fColor = ReadColor(Wex::ValueOf(cap, "color"), 0);
  if (cap.contains("image")) look.fImage = ReadPixelImage(root, Wex::ValueOf(cap, "image"));
  design.fCapImageScale = Wex::EvaluateExpression(Wex::ValueOf(cap, "scale"), 100) / 100;
  return look;
}

// The geometry of a "slit" block: an arc about a centre with "center", else a line; and the
// slit's thickness and colour. Without the block a line from (0, 0) to (0, 0).
struct cSlit {
  bool fArc = false;
  QorRaster::Point fStart;  // of the line, or the arc's centre
  QorRaster::Point fEnd;
  double fRadius = 0.0;
  double fStartAngle = 0.0;
  double fSweep = 0.0;
};

cSlit ReadSlit(const Wex::cRect& bounds, std::string_view text, cSliderDesign& design) {
  cSlit slit;
  if (text.empty()) return slit;
  const Description block = Wex::ParseKeyValueMap(text);
  const double width = bounds.Width();
  const double height = bounds.Height();
  slit.fArc = block.contains("center");
  if (slit.fArc) {
    slit.fStart = ReadRealPoint(Wex::ValueOf(block, "center"), {width / 2, height / 2});
    slit.fRadius = Wex::EvaluateExpression(
        Wex::ValueOf(block, "radius"),
        std::max(1.0, std::min(width / 2 - 1 - design.fCapWidth / 2, height / 2 - 1 - design.fCapHeight / 2)));
    const std::vector<std::string> sweep = Wex::ParseList(Wex::ValueOf(block, "sweep"));
    const auto item = [&sweep](std::size_t i) { return i < sweep.size() ? std::string_view(sweep[i]) : std::string_view(); };
    slit.fStartAngle = Wex::EvaluateExpression(item(0), 0) * kRadiansPerDegree;
    slit.fSweep = Wex::EvaluateExpression(item(1), 90) * kRadiansPerDegree;
  } else {
    slit.fStart = ReadRealPoint(Wex::ValueOf(block, "start"), {0, height / 2});
    slit.fEnd = ReadRealPoint(Wex::ValueOf(block, "end"), {width, height / 2});
  }
  design.fSlitThickness = Wex::EvaluateExpression(Wex::ValueOf(block, "thickness"), 4);
  design.fSlitColor = ReadColor(Wex::ValueOf(block, "color"), 0);
  return slit;
}

// The film of a "film" block and its offset.
void ReadFilm(rcRootView& root, std::string_view text, cSliderDesign& design) {
  if (text.empty()) return;
  const Description block = Wex::ParseKeyValueMap(text);
  design.fFilmOffset = ReadIntPoint(Wex::ValueOf(block, "offset"), {0, 0});
  design.fFilm = ReadFilmBlock(root, block);
}

}  // namespace

ref<Wex::rcGUIElement> MakeSliderView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const std::string variable = Wex::Unquote(Wex::ValueOf(description, "variable"));
  cSliderDesign design;
  design.fReadOnly = Wex::StringToBool(Wex::ValueOf(description, "readonly"), false);
  const double defaultValue = Wex::EvaluateExpression(Wex::ValueOf(description, "default"), 0);
  const auto [minimum, maximum] = ReadRealPair(Wex::ValueOf(description, "range"), {0, 1});
  design.fCapLook = ReadCap(root, Wex::ValueOf(description, "cap"), design);
  const cSnapSetting snap = ReadSnapSetting(Wex::ValueOf(description, "snap"), defaultValue);
  design.fSnapLook = design.fCapLook;
  if (snap.fBlock) {
    design.fSnapArea = Wex::EvaluateExpression(Wex::ValueOf(snap.fKeys, "area"), 4);
    if (snap.fKeys.contains("image")) design.fSnapLook.fImage = ReadPixelImage(root, Wex::ValueOf(snap.fKeys, "image"));
    design.fSnapLook.fColor = ReadColor(Wex::ValueOf(snap.fKeys, "color"), design.fCapLook.fColor);
  }
  const cSlit slit = ReadSlit(bounds, Wex::ValueOf(description, "slit"), design);
  ReadFilm(root, Wex::ValueOf(description, "film"), design);
  design.fFineRatio = Wex::EvaluateExpression(Wex::ValueOf(description, "fineRatio"), 10) / 100;
  const ref<rcValueControlView> view(
      slit.fArc ? static_cast<rcValueControlView*>(new rcArcSliderView(bounds, std::move(design), slit.fStart,
                                                                       slit.fRadius, slit.fStartAngle, slit.fSweep))
                : new rcSliderView(bounds, std::move(design), slit.fStart, slit.fEnd));
  BindValueControl(root, view, variable, description);
  view->SetRange(minimum, maximum);
  view->SetDefaultValue(defaultValue);
  if (snap.fEnabled) view->SetSnap(true, snap.fValue);
  return view;
}

}  // namespace Velto
