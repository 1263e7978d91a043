#include "velto/views/knob_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "raster/combine.h"
#include "raster/image_sampler.h"
#include "raster/limits.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"
#include "raster/transform.h"
#include "velto/angles.h"
#include "velto/readers.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

rcKnobView::rcKnobView(const Wex::cRect& r, cKnobDesign design) : rcValueView(r), fDesign(std::move(design)) {}

double rcKnobView::GetValueAngle(double value) {
  const double range = GetMaximum() - GetMinimum();
  if (range == 0) return 0.0;
  return WrapAngle(fDesign.fStartAngle + (value - GetMinimum()) * fDesign.fSweep / range);
}

QorRaster::Point rcKnobView::GetCenter() const {
  const Wex::cRect& b = GetBounds();
  return {b.fRight / 2.0 + fDesign.fCenterOffset.x, b.fBottom / 2.0 + fDesign.fCenterOffset.y};
}

ref<rcImage> rcKnobView::GetFilmFrame(double value) {
  const iref<iFilm> film = fDesign.fFilm;
  if (!film) return nullptr;
  const std::int32_t n = film->GetFrameRange();
  const double sweep = fDesign.fFilmSweep;
  std::int32_t index = 0;
  if (sweep != 0) {
    const double h = kPi - sweep / 2;
    const double f = (Modulo2Pi(GetValueAngle(value) - fDesign.fFilmStartAngle + h) - h) / sweep;
    if (f >= 1) {
      index = n - 1;
    } else if (f >= 0) {  // not for a NaN
      index = std::clamp(static_cast<std::int32_t>((n - 1) * f + 0.5), 0, n - 1);
    }
  }
  return film->GetFrame(index);
}

bool rcKnobView::ContainsPoint(const Wex::cPoint& p) {
  const QorRaster::Point c = GetCenter();
  const double dx = (p.fX - c.x) / fDesign.fSize;
  const double dy = (p.fY - c.y) / fDesign.fSize;
  return dx * dx + dy * dy < 0.25;
}

bool rcKnobView::SetValue(double value) {
  if (!StoreValue(value)) return false;
  InvalidateAll();
  return true;
}

void rcKnobView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect&) {
  const double value = GetValue();
  if (const ref<rcImage> frame = GetFilmFrame(value)) frame->Draw(context, fDesign.fFilmOffset);
  cContextCanvas canvas(context);
  const cKnobLook& look = std::fabs(value - GetSnapValue()) < kSnapEpsilon ? fDesign.fSnapLook : fDesign.fNormalLook;
  if (const ref<rcImageResource> image = look.fImage) {
    const Wex::cRect b = image->GetBounds();
    const QorRaster::Point c = GetCenter();
    const QorRaster::Transform turn = QorRaster::Transform()
                                          .Translate(-b.Width() / 2.0, -b.Height() / 2.0)
                                          .ScaleUniform(fDesign.fImageScale)
                                          .Rotate(GetValueAngle(value) - fDesign.fImageAngle)
                                          .Translate(c.x, c.y);
    QorRaster::TransformedPaint turned(image->GetRasterImage(), false, turn, QorRaster::WholePlaneRect);
    canvas.Draw(turned);
  }
  if (!look.fFrame.IsVisible() && !look.fDial.IsVisible() && look.fColor == 0) return;
  try {
    DrawKnob(canvas, look);
  } catch (const QorRaster::LimitException&) {
    // A knob too large for the raster library draws no cap, ring or dial.
  }
}

void rcKnobView::DrawKnob(QorRaster::Image& canvas, const cKnobLook& look) {
  const QorRaster::Point c = GetCenter();
  const double size = fDesign.fSize;
  const double r = (size - look.fFrame.fWidth) / 2;
  const double a = GetValueAngle(GetValue());
  QorRaster::Path cap;
  cap.AddEllipse(c.x, c.y, size / 2, size / 2, 1.0);
  QorRaster::Path ring;
  ring.AddEllipse(c.x, c.y, r, r, 1.0);
  look.fFrame.StrokePath(ring);
  QorRaster::Path dial;
  dial.AddLine(c.x, c.y, c.x + r * std::sin(a), c.y - r * std::cos(a));
  look.fDial.StrokePath(dial);

  const QorRaster::IntRect clip = canvas.GetBounds();
  QorRaster::SolidPaint capColor(look.fColor);
  QorRaster::PolygonMask capCoverage(cap, clip, &QorRaster::kNonZeroRule);
  QorRaster::MaskedPaint capLayer(&capColor, &capCoverage);
  QorRaster::SolidPaint ringColor(look.fFrame.fColor);
  QorRaster::PolygonMask ringCoverage(ring, clip, &QorRaster::kNonZeroRule);
  QorRaster::MaskedPaint ringLayer(&ringColor, &ringCoverage);
  QorRaster::SolidPaint dialColor(look.fDial.fColor);
  QorRaster::PolygonMask dialCoverage(dial, clip, &QorRaster::kNonZeroRule);
  QorRaster::MaskedPaint dialLayer(&dialColor, &dialCoverage);
  QorRaster::OverPaint ringOverCap(&capLayer, &ringLayer);
  QorRaster::OverPaint knob(&ringOverCap, &dialLayer);
  canvas.Draw(knob);
}

bool rcKnobView::MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                           const Wex::cKeyModifiers& modifiers) {
  if (modifiers.fSecondaryClick || fDesign.fReadOnly || !IsEnabled()) return false;
  // Outside the cap: any hint goes, and the element's answer.
  if (!ContainsPoint(p)) return rcView::MouseDown(p, time, doubleClick, modifiers);
  if (const ref<rcHintWindow> window = GetHintWindow()) window->HideAnyHint();
  Anchor(p, modifiers);
  ShowHintNow(p);
  StartTracking(p, time, modifiers);
  return true;
}

void rcKnobView::Anchor(const Wex::cPoint& p, const Wex::cKeyModifiers& modifiers) {
  fPressPoint = p;
  fValueAtPress = GetValue();
  fPressModifiers = modifiers;
}

void rcKnobView::TrackMouse(const Wex::cPoint& p, std::int32_t, const Wex::cKeyModifiers& modifiers) {
  if (modifiers.fShift != fPressModifiers.fShift || modifiers.fUnused2 != fPressModifiers.fUnused2 ||
      modifiers.fOption != fPressModifiers.fOption) {
    Anchor(p, modifiers);
  }
  if (fPressModifiers.fCommand) {
    SetValue(GetDefaultValue());
    return;
  }
  const double v = modifiers.fOption || modifiers.fUnused2 ? PointedValue(p) : DraggedValue(p);
  if (std::isfinite(v)) SetValue(v);
}

double rcKnobView::PointedValue(const Wex::cPoint& p) {
  const double sweep = fDesign.fSweep;
  if (sweep == 0) return GetValue();
  const QorRaster::Point c = GetCenter();
  const double minimum = GetMinimum();
  const double range = GetMaximum() - minimum;
  const double h = kPi - sweep / 2;
  const double t = Modulo2Pi(std::atan2(p.fX - c.x, c.y - p.fY) - fDesign.fStartAngle + h);
  double v = (t - h) * range / sweep + minimum;
  if (IsSnapEnabled()) {
    const double s = GetSnapValue();
    const double w = std::fabs(range * 0.03125);
    if (s - w <= v && v <= s + w) v = s;
  }
  return v;
}

double rcKnobView::DraggedValue(const Wex::cPoint& p) {
  const cKnobTransmission& t = fDesign.fTransmission;
  const bool fine = fPressModifiers.fShift;
  const double verticalRate = fine ? t.fFineVerticalRate : t.fVerticalRate;
  const double horizontalRate = fine ? t.fFineHorizontalRate : t.fHorizontalRate;
  double dx = static_cast<double>(p.fX) - fPressPoint.fX;
  double dy = static_cast<double>(fPressPoint.fY) - p.fY;
  if (t.fQuantum != 1.0) {
    dx = std::round(t.fQuantum * dx);
    dy = std::round(t.fQuantum * dy);
  }
  const double range = GetMaximum() - GetMinimum();
  double v = fValueAtPress + (dx * horizontalRate + dy * verticalRate) * range;
  if (IsSnapEnabled()) {
    const double s = GetSnapValue();
    const double d = fValueAtPress;
    const double w = std::fabs(range * 8 * std::max(verticalRate, horizontalRate));
    if (d < s && v > s) {
      v = std::max(v - 2 * w, s);
    } else if (d > s && v < s) {
      v = std::min(v + 2 * w, s);
    } else if (d == s) {
      v = v > s ? std::max(v - w, s) : std::min(v + w, s);
    }
  }
  return v;
}

namespace {

// The look of a "cap" block, and the knob's size, centre offset, image scale and image angle.
cKnobLook ReadCap(rcRootView& root, const Wex::cRect& bounds, std::string_view text, cKnobDesign& design) {
  const double side = std::min(bounds.Width(), bounds.Height());
  design.fSize = side;
  cKnobLook look;
  if (text.empty()) return look;
  const Description cap = Wex::ParseKeyValueMap(text);
  design.fSize = Wex::EvaluateExpression(Wex::ValueOf(cap, "size"), side);
  design.fCenterOffset = ReadRealPoint(Wex::ValueOf(cap, "offset"), {0, 0});
  look.fFrame = ReadStroke(Wex::ValueOf(cap, "frame"), 0);
  look.fDial = cap.contains("dial") ? ReadStrokeSpec(Wex::ParseKeyValueMap(Wex::ValueOf(cap, "dial")), look.fFrame)
                                    : look.fFrame;
  look.fColor = ReadColor(Wex::ValueOf(cap, "color"), 0);
  if (cap.contains("image")) {
    look.fImage = ReadPixelImage(root, Wex::ValueOf(cap, "image"));
  }
  design.fImageScale = Wex::EvaluateExpression(Wex::ValueOf(cap, "scale"), 100) / 100;
  design.fImageAngle = Wex::EvaluateExpression(Wex::ValueOf(cap, "angle"), 0) * kRadiansPerDegree;
  return look;
}

// The snap look of a "snap" block over the normal look.
cKnobLook ReadSnapLook(rcRootView& root, const cSnapSetting& snap, const cKnobLook& normal) {
  if (!snap.fBlock) return normal;
  cKnobLook look = normal;
  if (snap.fKeys.contains("image")) look.fImage = ReadPixelImage(root, Wex::ValueOf(snap.fKeys, "image"));
  if (snap.fKeys.contains("frame"))
    look.fFrame = ReadStrokeSpec(Wex::ParseKeyValueMap(Wex::ValueOf(snap.fKeys, "frame")), normal.fFrame);
  if (snap.fKeys.contains("dial"))
    look.fDial = ReadStrokeSpec(Wex::ParseKeyValueMap(Wex::ValueOf(snap.fKeys, "dial")), normal.fDial);
  look.fColor = ReadColor(Wex::ValueOf(snap.fKeys, "color"), normal.fColor);
  return look;
}

// The rates of a "transmission" block; a resolution below 1 counts as 1, and a distance of 0
// gives a rate of 0.
cKnobTransmission ReadTransmission(std::string_view text) {
  cKnobTransmission t;
  if (text.empty()) return t;
  const Description block = Wex::ParseKeyValueMap(text);
  const std::int32_t resolution =
      std::max(Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(block, "resolution"), 1), 1);
  const std::int32_t vertical = Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(block, "vertical"), 200);
  const std::int32_t horizontal = Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(block, "horizontal"), 200);
  const double fine = Wex::EvaluateExpression(Wex::ValueOf(block, "fine"), 10) / 100;
  t.fQuantum = 1.0 / resolution;
  const auto rate = [&t](std::int32_t pixels) { return pixels == 0 ? 0.0 : 1.0 / (pixels * t.fQuantum); };
  t.fVerticalRate = rate(vertical);
  t.fHorizontalRate = rate(horizontal);
  t.fFineVerticalRate = t.fVerticalRate * fine;
  t.fFineHorizontalRate = t.fHorizontalRate * fine;
  return t;
}

// The film of a "film" block, its offset and its angles (by default the knob's).
void ReadFilm(rcRootView& root, std::string_view text, cKnobDesign& design) {
  design.fFilmStartAngle = design.fStartAngle;
  design.fFilmSweep = design.fSweep;
  if (text.empty()) return;
  const Description block = Wex::ParseKeyValueMap(text);
  design.fFilmOffset = ReadIntPoint(Wex::ValueOf(block, "offset"), {0, 0});
  design.fFilm = ReadFilmBlock(root, block);
  const auto [start, sweep] = ReadRealPair(Wex::ValueOf(block, "range"),
                                           {design.fStartAngle / kRadiansPerDegree, design.fSweep / kRadiansPerDegree});
  design.fFilmStartAngle = start * kRadiansPerDegree;
  design.fFilmSweep = sweep * kRadiansPerDegree;
}

}  // namespace

ref<Wex::rcGUIElement> MakeKnobView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const std::string variable = Wex::Unquote(Wex::ValueOf(description, "variable"));
  cKnobDesign design;
  design.fReadOnly = Wex::StringToBool(Wex::ValueOf(description, "readonly"), false);
  const double defaultValue = Wex::EvaluateExpression(Wex::ValueOf(description, "default"), 0);
  const auto [minimum, maximum] = ReadRealPair(Wex::ValueOf(description, "range"), {0, 1});
  const auto [start, sweep] = ReadRealPair(Wex::ValueOf(description, "sweep"), {-135, 270});
  design.fStartAngle = start * kRadiansPerDegree;
  design.fSweep = sweep * kRadiansPerDegree;
  design.fNormalLook = ReadCap(root, bounds, Wex::ValueOf(description, "cap"), design);
  const cSnapSetting snap = ReadSnapSetting(Wex::ValueOf(description, "snap"), defaultValue);
  design.fSnapLook = ReadSnapLook(root, snap, design.fNormalLook);
  design.fTransmission = ReadTransmission(Wex::ValueOf(description, "transmission"));
  ReadFilm(root, Wex::ValueOf(description, "film"), design);

  const ref<rcKnobView> view(new rcKnobView(bounds, std::move(design)));
  view->SetRange(minimum, maximum);
  view->SetDefaultValue(defaultValue);
  if (snap.fEnabled) view->SetSnap(true, snap.fValue);
  BindValueControl(root, view, variable, description);
  return view;
}

}  // namespace Velto
