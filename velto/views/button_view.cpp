#include "velto/views/button_view.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/native_view.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/shapes.h"
#include "gui/root.h"
#include "raster/limits.h"
#include "raster/solid.h"
#include "velto/actions.h"
#include "velto/popup_menu.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"

namespace Velto {

namespace {

// Sets the flag for its lifetime: a change of the pressed state is running its binding.
class cBusyScope {
 public:
  explicit cBusyScope(bool& busy) : fBusy(busy) { fBusy = true; }
  ~cBusyScope() { fBusy = false; }
  cBusyScope(const cBusyScope&) = delete;
  cBusyScope& operator=(const cBusyScope&) = delete;

 private:
  bool& fBusy;
};

// floor(v / 2).
std::int64_t FloorHalf(std::int64_t v) { return v >= 0 ? v / 2 : (v - 1) / 2; }

// The start of an extent of the given size centred in [low, high): floor((low + high - size + 1) / 2).
std::int32_t Centered(std::int32_t low, std::int32_t high, std::int64_t size) {
  return SaturateToInt32(FloorHalf(std::int64_t{low} + high - size + 1));
}

}  // namespace

void rcButtonView::cTracker::TrackMouse(const iref<Wex::iMouseTrackingHost>&, const Wex::cMouseEvent& event) {
  fButton->TrackDrag(event);
}

bool rcButtonView::cTracker::TrackKey(const iref<Wex::iMouseTrackingHost>&, const Wex::cKeyEvent& key) {
  return fButton->TrackKeyDown(key);
}

bool rcButtonView::cTracker::EndTracking(const iref<Wex::iMouseTrackingHost>&, const Wex::cMouseEvent& event) {
  fButton->TrackMouseUp(event);
  return true;
}

void rcButtonView::cTracker::CancelTracking(const iref<Wex::iMouseTrackingHost>&) { fButton->TrackCancel(); }

rcButtonView::rcButtonView(const Wex::cRect& r, rcRootView& root, std::vector<cActionListEntry> actions,
                           const ButtonFaces& faces, const QorRaster::Point& cornerRadii, bool cornerRadiiRelative,
                           ref<Wex::rcCocoaObject> cursor, std::string captionTemplate)
    : rcView(r),
      fRoot(&root),
      fActions(std::move(actions)),
      fCornerRadii(cornerRadii),
      fCornerRadiiRelative(cornerRadiiRelative),
      fCaptionTemplate(std::move(captionTemplate)),
      fFaces(faces),
      fCursor(std::move(cursor)) {
  const QorRaster::Rect& s = fFaces[kStandardFace].fRect;
  try {
    fHitPath.AddRoundedRect(s.x, s.y, s.width, s.height, fCornerRadii.x, fCornerRadii.y, 1.0);
  } catch (const QorRaster::LimitException&) {
    // A shape beyond the raster library's limits: nothing hits the button.
    fHitPath = QorRaster::Path();
  }
}

bool rcButtonView::ContainsPoint(const Wex::cPoint& p) { return HitTestPath(fHitPath, p.fX, p.fY); }

void rcButtonView::SetHost(Wex::rcGUIRoot* host) {
  if (Wex::iNativeView* view = GetHostView(); view != nullptr && host != GetHost()) view->CancelTracking(GetTracker());
  rcView::SetHost(host);
}

void rcButtonView::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  if (Wex::iNativeView* view = GetHostView(); fEnabled && fCursor && view != nullptr) view->UseCursor(fCursor);
  rcView::MouseMoved(p, time, modifiers);
}

bool rcButtonView::MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                             const Wex::cKeyModifiers& modifiers) {
  if (!ContainsPoint(p)) return rcView::MouseDown(p, time, doubleClick, modifiers);
  if (const ref<rcHintWindow> window = GetHintWindow()) window->HideAnyHint();
  if (!fEnabled) return true;
  // The press's action may rebuild the tree (a reload in a modal loop) and so release this view.
  const ref<rcButtonView> keep(this);
  const Wex::cPoint point = LocalToWindow(p);
  fPressModifiers = ModifierClickMask(modifiers, true);
  RunBinding(fPressModifiers | kPressBit);
  if (Wex::rcGUIRoot* host = GetHost()) host->StartTracking(GetTracker(), point, time, modifiers);
  return true;
}

void rcButtonView::TrackDrag(const Wex::cMouseEvent& event) {
  const ref<rcButtonView> keep(this);
  SetPressedInside(ContainsPoint(WindowToLocal(event.fPoint)));
}

bool rcButtonView::TrackKeyDown(const Wex::cKeyEvent&) { return false; }

void rcButtonView::TrackMouseUp(const Wex::cMouseEvent&) { EndPress(true); }

void rcButtonView::TrackCancel() { EndPress(false); }

void rcButtonView::SetPressedInside(bool inside) {
  if (fBusy) {
    fRequestedInside = inside;
    return;
  }
  if (inside == fPressedInside) return;
  fRequestedInside = inside;
  Settle();
}

void rcButtonView::Settle() {
  const ref<rcButtonView> keep(this);
  while (fRequestedInside != fPressedInside) {
    const cBusyScope busy(fBusy);
    fPressedInside = fRequestedInside;
    InvalidateAll();
    RunBinding(fPressModifiers | (fPressedInside ? kDownBit : kUpBit));
  }
}

void rcButtonView::EndPress(bool withClick) {
  const ref<rcButtonView> keep(this);
  bool inside = false;
  if (fPressedInside) {
    fRequestedInside = false;
    if (!fBusy) {
      inside = true;
      Settle();
    }
  }
  RunBinding(fPressModifiers | kReleaseBit);
  if (withClick && inside) RunBinding(fPressModifiers | kClickBit);
}

void rcButtonView::RunBinding(std::uint32_t eventMask) {
  const cActionListEntry* entry = FindActionForEvent(fActions, eventMask);
  if (entry == nullptr || entry->fBinding.fAction.empty()) return;
  const cActionBinding binding = entry->fBinding;
  const Wex::cRect& b = GetBounds();
  gActionOrigin = LocalToScreen({static_cast<std::int32_t>((std::int64_t{b.fLeft} + b.fRight) / 2),
                                 static_cast<std::int32_t>((std::int64_t{b.fTop} + b.fBottom) / 2)});
  PerformAction(*fRoot, binding.fAction, binding.fParams);
}

void rcButtonView::WindowStateChanged() {
  bool enabled = false;
  bool checked = false;
  for (const cActionListEntry& entry : fActions) {
    if ((entry.fMask & (kClickBit | kPressBit | kDownBit)) == 0) continue;
    if (!enabled) enabled = IsActionEnabled(*fRoot, entry.fBinding.fAction, entry.fBinding.fParams);
    if (!checked) checked = IsActionChecked(*fRoot, entry.fBinding.fAction, entry.fBinding.fParams);
  }
  ref<Wex::rcVector<UniChar>> caption = Wex::WideToUTF16(Wex::Latin1ToWide(ExpandTextMacros(*fRoot, fCaptionTemplate)));
  bool changed = enabled != fEnabled || checked != fChecked;
  if (!SameText(caption, fCaptionText)) {
    fCaptionText = std::move(caption);
    changed = true;
  }
  fEnabled = enabled;
  fChecked = checked;
  if (changed) InvalidateAll();
  rcView::WindowStateChanged();
}

QorRaster::Point rcButtonView::GetFaceRadii(std::size_t index) const {
  QorRaster::Point radii = fCornerRadii;
  if (!fCornerRadiiRelative || index == kStandardFace) return radii;
  const QorRaster::Rect& standard = fFaces[kStandardFace].fRect;
  const QorRaster::Rect& face = fFaces[index].fRect;
  if (standard.width != 0) radii.x *= face.width / standard.width;
  if (standard.height != 0) radii.y *= face.height / standard.height;
  return radii;
}

void rcButtonView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  std::size_t index = kDisabledFace;
  if (fEnabled && fChecked) {
    index = fPressedInside ? kCheckedDownFace : kCheckedFace;
  } else if (fEnabled) {
    index = fPressedInside ? kDownFace : kStandardFace;
  }
  const cButtonFace& face = fFaces[index];
  if (face.fImage) face.fImage->Draw(context, {0, 0});
  const QorRaster::IntRect clip = EdgesToRect(update);
  QorRaster::SolidRectPaint fill(face.fFill, clip);
  PaintFramedShape(context, clip, face.fRect, GetFaceRadii(index), face.fFrame, fill, kBlendNormal);

  const bool caption = face.fFont && fCaptionText;
  if (!face.fIcon && !caption) return;
  // The inset shape rounded outward to whole pixels.
  const double w = face.fFrame.fWidth;
  const QorRaster::Rect& r = face.fRect;
  const auto whole = [](double v) { return QorRaster::TruncateSaturated<std::int32_t>(v); };
  const Wex::cRect inner{whole(std::floor(r.x + w / 2)), whole(std::floor(r.y + w / 2)),
                         whole(std::ceil(r.x + w / 2 + (r.width - w))), whole(std::ceil(r.y + w / 2 + (r.height - w)))};
  const Wex::cClipScope clipScope(context, inner);
  if (face.fIcon) {
    const Wex::cRect b = face.fIcon->GetBounds();
    face.fIcon->Draw(context, {Centered(inner.fLeft, inner.fRight, std::int64_t{b.fRight} - b.fLeft),
                               Centered(inner.fTop, inner.fBottom, std::int64_t{b.fBottom} - b.fTop)});
  }
  if (caption) {
    std::int32_t height = 0;
    std::int32_t ascent = 0;
    face.fFont->GetMetrics(context, height, ascent);
    const Wex::cRect b = face.fFont->Measure(context, {0, 0}, *fCaptionText, false);
    const std::int32_t y = Centered(inner.fTop, inner.fBottom, std::int64_t{b.fBottom} - b.fTop);
    face.fFont->Draw(context,
                     {Centered(inner.fLeft, inner.fRight, std::int64_t{b.fRight} - b.fLeft),
                      SaturateToInt32(std::int64_t{y} + ascent)},
                     *fCaptionText);
  }
}

namespace {

// The face rectangle of a "rect" value over the inherited one: up to four real expressions x, y,
// width and height, each with "$" its field's inherited value, where an empty item keeps it. The
// expressions see l, t, w, h, r and b of the inherited rectangle; l, t and w follow the fields as
// they are read.
QorRaster::Rect ReadFaceRect(std::string_view text, const QorRaster::Rect& inherited) {
  std::vector<std::string> items = Wex::ParseList(text);
  items.resize(4);
  std::map<std::string, double> variables = {
      {"l", inherited.x},
      {"t", inherited.y},
      {"w", inherited.width},
      {"h", inherited.height},
      {"r", inherited.x + inherited.width},
      {"b", inherited.y + inherited.height},
  };
  QorRaster::Rect rect = inherited;
  const std::pair<double*, const char*> fields[] = {
      {&rect.x, "l"}, {&rect.y, "t"}, {&rect.width, "w"}, {&rect.height, nullptr}};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto [field, follower] = fields[i];
    variables["$"] = *field;
    Wex::EvaluateDoubleExpression(items[i], *field, variables);
    if (follower != nullptr) variables[follower] = *field;
  }
  return rect;
}

// A face block over the face it starts from. Without "frame" the face has none.
cButtonFace ReadButtonFace(rcRootView& root, std::string_view text, const cButtonFace& inherited) {
  const Description block = Wex::ParseKeyValueMap(text);
  cButtonFace face = inherited;
  iController& controller = root.GetController();
  if (block.contains("image"))
    face.fImage = controller.GetLayeredImage(root, std::string(Wex::ValueOf(block, "image")));
  face.fFill = ReadColor(Wex::ValueOf(block, "fill"), inherited.fFill);
  if (block.contains("font")) face.fFont = controller.GetFont(root, std::string(Wex::ValueOf(block, "font")));
  if (block.contains("icon")) face.fIcon = controller.GetLayeredImage(root, std::string(Wex::ValueOf(block, "icon")));
  face.fRect = ReadFaceRect(Wex::ValueOf(block, "rect"), inherited.fRect);
  face.fFrame = ReadStroke(Wex::ValueOf(block, "frame"), 0);
  return face;
}

}  // namespace

ref<Wex::rcGUIElement> MakeButtonView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  std::vector<cActionListEntry> actions;
  ReadActionList(description, actions);
  static constexpr const char* kFaceKeys[kButtonFaceCount] = {"standard", "checked", "down", "checkedDown", "disabled"};
  ButtonFaces faces;
  faces[kStandardFace].fRect = EdgesToRealRect({0, 0, bounds.Width(), bounds.Height()});
  for (std::size_t i = 0; i < kButtonFaceCount; ++i) {
    const cButtonFace& start = i == kCheckedDownFace ? faces[kCheckedFace] : faces[kStandardFace];
    const std::string key = kFaceKeys[i];
    if (description.contains(key)) {
      faces[i] = ReadButtonFace(root, Wex::ValueOf(description, key), start);
    } else if (i != kStandardFace) {
      faces[i] = start;
    }
  }
  bool relative = false;
  const QorRaster::Point radii =
      ReadCornerRadii(Wex::ValueOf(description, "rounded"), faces[kStandardFace].fRect, relative);
  ref<Wex::rcCocoaObject> cursor = ReadCursor(ReadCursorName(description));
  std::string caption = Wex::Unquote(Wex::ValueOf(description, "caption"));
  const ref<rcButtonView> view(new rcButtonView(bounds, root, std::move(actions), faces, radii, relative,
                                                std::move(cursor), std::move(caption)));
  ReadHint(root, view, description);
  return view;
}

}  // namespace Velto
