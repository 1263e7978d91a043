#include "velto/views/cluster_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/native_view.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "gui/root.h"
#include "raster/geometry.h"
#include "velto/readers.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

// The pointer's way is followed in steps of this many pixels.
constexpr double kDragStep = 5.0;
// One event is followed in at most this many steps (a jump of over 300000 pixels, which only a
// synthetic event makes, is followed over its first part), so that no event takes unbounded time.
constexpr std::int64_t kMaxDragSteps = 1 << 16;

// A and B cut to the smaller width and height of the two.
void CutToCommonSize(Wex::cRect& a, Wex::cRect& b) {
  const std::int64_t width = std::min(std::int64_t{a.fRight} - a.fLeft, std::int64_t{b.fRight} - b.fLeft);
  const std::int64_t height = std::min(std::int64_t{a.fBottom} - a.fTop, std::int64_t{b.fBottom} - b.fTop);
  for (Wex::cRect* r : {&a, &b}) {
    r->fRight = SaturateToInt32(r->fLeft + width);
    r->fBottom = SaturateToInt32(r->fTop + height);
  }
}

// Rounded to the nearest integer, halves away from zero.
std::int32_t RoundCoordinate(double v) { return QorRaster::TruncateSaturated<std::int32_t>(std::round(v)); }

}  // namespace

rcClusterViewBase::rcClusterViewBase(const Wex::cRect& r, rcRootView& root, std::vector<ref<rcImage>> images,
                                     const std::vector<cClusterCellSpec>& rects, const std::string& arrayName,
                                     double rangeMinimum, double rangeMaximum)
    : rcView(r), fRoot(&root), fImages(std::move(images)), fRangeMinimum(rangeMinimum), fRangeMaximum(rangeMaximum) {
  fCells.reserve(rects.size());
  for (const cClusterCellSpec& spec : rects) {
    cClusterCell cell{spec.fIndex, spec.fSource, spec.fDestination, spec.fHit,
                      arrayName + "[" + Wex::IntToString(spec.fIndex) + "]"};
    CutToCommonSize(cell.fSource, cell.fDestination);
    fCells.push_back(std::move(cell));
  }
}

void rcClusterViewBase::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  const double count = static_cast<double>(fImages.size());
  for (const cClusterCell& cell : fCells) {
    if (!Wex::Overlaps(cell.fDestination, update)) continue;
    if (!(cell.fShownImage >= 0.0 && cell.fShownImage < count)) continue;
    const ref<rcImage>& image = fImages[static_cast<std::size_t>(cell.fShownImage)];
    if (image) image->DrawPart(context, cell.fSource, cell.fDestination.TopLeft());
  }
}

void rcClusterViewBase::WindowStateChanged() {
  const double last = static_cast<double>(fImages.size()) - 1.0;
  for (cClusterCell& cell : fCells) {
    const double value = ReadNumber(cell.fVariable);
    double index = 0.0;
    if (fRangeMaximum != fRangeMinimum) {
      index = std::round((value - fRangeMinimum) * last / (fRangeMaximum - fRangeMinimum));
      if (!std::isfinite(index)) index = -1.0;
    }
    if (index == cell.fShownImage) continue;
    cell.fShownImage = index;
    InvalidateRect(cell.fDestination);
  }
  rcView::WindowStateChanged();
}

bool rcClusterViewBase::ContainsPoint(const Wex::cPoint& p) { return FindHitCell(p) != nullptr; }

const cClusterCell* rcClusterViewBase::FindHitCell(const Wex::cPoint& p) const {
  for (auto cell = fCells.rbegin(); cell != fCells.rend(); ++cell) {
    if (cell->fHit.Contains(p)) return &*cell;
  }
  return nullptr;
}

double rcClusterViewBase::ReadNumber(const std::string& variable) {
  return Wex::StringToDouble(fRoot->GetController().GetVariable(*fRoot, variable), 0.0);
}

void rcClusterViewBase::WriteNumber(const std::string& variable, double value) {
  fRoot->GetController().SetVariable(*fRoot, variable, Wex::DoubleToString(value), true);
}

rcClusterView::rcClusterView(const Wex::cRect& r, rcRootView& root, std::vector<ref<rcImage>> images,
                             const std::vector<cClusterCellSpec>& rects, const std::string& arrayName,
                             double rangeMinimum, double rangeMaximum, std::vector<cClusterPaintRule> rules)
    : rcClusterViewBase(r, root, std::move(images), rects, arrayName, rangeMinimum, rangeMaximum),
      fRules(std::move(rules)) {}

bool rcClusterView::MouseDown(const Wex::cPoint& p, std::int32_t time, bool, const Wex::cKeyModifiers& modifiers) {
  if (modifiers.fSecondaryClick) return false;
  const cClusterCell* hit = FindHitCell(p);
  if (hit == nullptr) return true;
  if (const ref<rcHintWindow> window = GetHintWindow()) window->HideAnyHint();
  fLastPoint = p;
  const std::uint32_t flags = ModifierClickMask(modifiers, false);
  const auto rule = std::find_if(fRules.rbegin(), fRules.rend(),
                                 [flags](const cClusterPaintRule& r) { return (r.fMask & ~flags) == 0; });
  // The factory's default rule matches every click; rules made otherwise may match none.
  if (rule == fRules.rend()) return true;
  fPaintMethod = rule->fMethod;
  const double ruleValue = Wex::StringToDouble(rule->fValue, 0.0);
  if (fPaintMethod == "set" || fPaintMethod == "slide") {
    fPaintValue = ruleValue;
  } else if (fPaintMethod == "toggle") {
    fPaintValue = ReadNumber(hit->fVariable) == ruleValue ? GetRangeMinimum() : ruleValue;
  } else if (fPaintMethod == "exclusive") {
    fPaintValue = ruleValue;
    try {
      for (const cClusterCell& cell : GetCells()) {
        if (fTouched.contains(cell.fVariable)) continue;
        Touch(cell.fVariable);
        WriteNumber(cell.fVariable, GetRangeMinimum());
      }
    } catch (...) {
      // No gesture follows: the edits begun end here.
      EndGesture();
      throw;
    }
  } else {
    throw FormatException("Unrecognized cluster paint method: " + Wex::Quote(fPaintMethod));
  }
  if (GetHostView() != nullptr) {
    GetHost()->StartTracking(iref<Wex::iMouseTracker>(this), LocalToWindow(p), time, modifiers);
  } else {
    // Nothing tracks a gesture without a host's view: it ends at once.
    EndGesture();
  }
  return true;
}

void rcClusterView::OnHostDetached(Wex::rcGUIRoot& host) {
  if (IsHostTracker()) GetHostView()->CancelTracking(iref<Wex::iMouseTracker>(this));
  rcClusterViewBase::OnHostDetached(host);
}

void rcClusterView::TrackDrag(const Wex::cMouseEvent& event) {
  const Wex::cPoint p = WindowToLocal(event.fPoint);
  const double x0 = fLastPoint.fX;
  const double y0 = fLastPoint.fY;
  const double dx = p.fX - x0;
  const double dy = p.fY - y0;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length >= kDragStep) {
    const auto steps = std::min(static_cast<std::int64_t>(length / kDragStep), kMaxDragSteps);
    const double stepX = dx * kDragStep / length;
    const double stepY = dy * kDragStep / length;
    double x = x0;
    double y = y0;
    for (std::int64_t k = 1; k <= steps; ++k) {
      x += stepX;
      y += stepY;
      PaintPass({RoundCoordinate(x), RoundCoordinate(y)});
    }
  }
  PaintPass(p);
  fLastPoint = p;
}

bool rcClusterView::TrackKeyDown(const Wex::cKeyEvent&) { return false; }

bool rcClusterView::TrackMouseUp(const Wex::cMouseEvent&) {
  EndGesture();
  return true;
}

void rcClusterView::TrackCancel() { EndGesture(); }

void rcClusterView::TrackMouse(const iref<Wex::iMouseTrackingHost>&, const Wex::cMouseEvent& event) {
  TrackDrag(event);
}

bool rcClusterView::TrackKey(const iref<Wex::iMouseTrackingHost>&, const Wex::cKeyEvent& key) {
  return TrackKeyDown(key);
}

bool rcClusterView::EndTracking(const iref<Wex::iMouseTrackingHost>&, const Wex::cMouseEvent& event) {
  return TrackMouseUp(event);
}

void rcClusterView::CancelTracking(const iref<Wex::iMouseTrackingHost>&) { TrackCancel(); }

void rcClusterView::PaintPass(const Wex::cPoint& p) {
  const bool restoreLeft = fPaintMethod == "slide" || fPaintMethod == "exclusive";
  const std::vector<cClusterCell>& cells = GetCells();
  for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell) {
    const std::string& variable = cell->fVariable;
    if (cell->fHit.Contains(p)) {
      if (!fVisited.insert(variable).second) continue;
      Touch(variable);
      WriteNumber(variable, fPaintValue);
    } else if (fVisited.erase(variable) != 0 && restoreLeft) {
      WriteNumber(variable, GetRangeMinimum());
    }
  }
}

void rcClusterView::Touch(const std::string& variable) {
  if (!fTouched.insert(variable).second) return;
  Root().GetController().SetVariableTracking(Root(), variable, true);
}

void rcClusterView::EndGesture() {
  const std::set<std::string> touched = std::exchange(fTouched, {});
  fVisited.clear();
  for (const std::string& variable : touched) Root().GetController().SetVariableTracking(Root(), variable, false);
}

bool rcClusterView::IsHostTracker() const {
  Wex::iNativeView* view = GetHostView();
  return view != nullptr && view->GetTracker().Get() == static_cast<const Wex::iMouseTracker*>(this);
}

ref<Wex::rcGUIElement> MakeClusterView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const std::string arrayName = Wex::Unquote(Wex::ValueOf(description, "array"));
  const bool readOnly = Wex::StringToBool(Wex::ValueOf(description, "readonly"), false);
  std::vector<ref<rcImage>> images;
  for (const std::string& item : Wex::ParseList(Wex::ValueOf(description, "images"))) {
    images.push_back(root.GetController().GetLayeredImage(root, item));
  }
  if (images.empty()) throw FormatException("No images declared for cluster view");
  const Wex::cRect imageBounds = images.front() ? images.front()->GetBounds() : Wex::cRect{};
  std::vector<cClusterCellSpec> rects;
  for (const std::string& entry : Wex::ParseList(Wex::ValueOf(description, "rects"))) {
    std::vector<std::string> fields = Wex::ParseList(entry);
    if (fields.empty()) throw FormatException("Invalid rects specification in cluster view");
    fields.resize(4);
    cClusterCellSpec spec;
    spec.fIndex = Wex::EvaluateIntExpressionWithValue(fields[0], 0);
    spec.fSource = ReadLayoutRect(fields[1], imageBounds);
    spec.fDestination = ReadLayoutRect(fields[2], spec.fSource);
    spec.fHit = ReadLayoutRect(fields[3], spec.fDestination);
    rects.push_back(spec);
  }
  const std::pair<double, double> range =
      ReadRealPair(Wex::ValueOf(description, "range"), {0.0, static_cast<double>(images.size()) - 1.0});
  const double minimum = range.first;
  const double maximum = range.second;
  ref<rcView> view;
  if (readOnly) {
    view = new rcClusterViewBase(bounds, root, std::move(images), rects, arrayName, minimum, maximum);
  } else {
    // A rule's method defaults to "toggle" and its value to the range maximum.
    const auto makeRule = [maximum](std::uint32_t mask, std::string method, std::string_view value) {
      if (method.empty()) method = "toggle";
      return cClusterPaintRule{mask, std::move(method), Wex::DoubleToString(Wex::EvaluateExpression(value, maximum))};
    };
    std::vector<cClusterPaintRule> rules{
        makeRule(0, Wex::Unquote(Wex::ValueOf(description, "paintMethod")), Wex::ValueOf(description, "paintValue"))};
    for (const std::string& item : Wex::ParseList(Wex::ValueOf(description, "paintValues"))) {
      std::vector<std::string> fields = Wex::ParseList(item);
      fields.resize(3);
      rules.push_back(makeRule(ReadClickMask(fields[0]), Wex::Unquote(fields[1]), fields[2]));
    }
    view = new rcClusterView(bounds, root, std::move(images), rects, arrayName, minimum, maximum, std::move(rules));
  }
  ReadHint(root, view, description);
  root.ReadAutoRefresh(view, description);
  return view;
}

}  // namespace Velto
