#include "velto/velto_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/key_value.h"
#include "base/text.h"
#include "gui/native_view.h"
#include "velto/auto_exec.h"
#include "velto/readers.h"
#include "velto/views/view_construction.h"

namespace Velto {

namespace {

using cValues = std::array<double, 5>;

// Fully shown: opaque, natural size, in place.
constexpr cValues kShown = {1.0, 1.0, 0.0, 0.0, 0.0};

cValues ValuesOf(const cTransitionSpec& t) { return {t.fOpacity, t.fScale, t.fOffset.x, t.fOffset.y, t.fRotation}; }

cValues CurvesOf(const cTransitionSpec& t) {
  return {t.fOpacityCurve, t.fScaleCurve, t.fOffsetCurve, t.fOffsetCurve, t.fRotationCurve};
}

// The eased phase k p / (1 - k + (2k - 1) p); k = 0.5 is linear. Where the curve has no finite
// value (a parameter of 0 or 1 at the ends of the phase, or one outside 0 ... 1) it is linear.
double Ease(double phase, double k) {
  const double denominator = 1.0 - k + (2.0 * k - 1.0) * phase;
  const double eased = k * phase / denominator;
  return denominator != 0.0 && std::isfinite(eased) ? eased : phase;
}

double FiniteOr(double value, double otherwise) { return std::isfinite(value) ? value : otherwise; }

}  // namespace

rcVeltoView::rcVeltoView(const Wex::cRect& bounds, iController* controller, std::string layoutVariable,
                         rcTransformContainer* content)
    : rcRootView(bounds, controller), fLayoutVariable(std::move(layoutVariable)), fContent(content) {}

rcVeltoView::~rcVeltoView() = default;

std::int32_t rcVeltoView::GetTickInterval() const {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(fRunningTransition->fUpdateInterval, 1, kMaxTickInterval));
}

void rcVeltoView::StartTransition(const cTransitionSpec* transition, bool restart) {
  if (fRunning) {
    StopTimer(kTransitionTimer);
    fRunning = false;
  }
  fRunningRole = eRole::kOther;
  if (transition == nullptr) {
    if (fPhase != 1.0) {
      fPhase = 1.0;
      ApplyTransition();
    }
    return;
  }
  fRunningTransition = *transition;
  const cValues values = ValuesOf(*transition);
  const cValues curves = CurvesOf(*transition);
  const bool backwards = transition->fPhaseStep < 0.0;
  if (restart || transition->fRestart || fPhase < 0.001 || fPhase >= 0.999) {
    fFrom = values;
    fTo = kShown;
    fPhase = backwards ? 1.0 : 0.0;
  } else if (backwards) {
    // Ends at the transition's values; the start is chosen so that the current phase shows the
    // values on screen.
    fFrom = values;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double c = Ease(fPhase, curves[i]);
      fTo[i] = FiniteOr((fCurrent[i] - (1.0 - c) * fFrom[i]) / c, kShown[i]);
    }
  } else {
    fTo = kShown;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double c = Ease(fPhase, curves[i]);
      fFrom[i] = FiniteOr((fCurrent[i] - c * fTo[i]) / (1.0 - c), values[i]);
    }
  }
  fRunning = true;
  ApplyTransition();
  StartTimer(GetTickInterval(), kTransitionTimer);
}

void rcVeltoView::ApplyTransition() {
  QorRaster::Transform transform;
  if (fPhase >= 0.99999) {
    fCurrent = kShown;
  } else {
    const cValues curves = CurvesOf(fRunningTransition.value_or(cTransitionSpec::GetDefault()));
    for (std::size_t i = 0; i < fCurrent.size(); ++i) {
      fCurrent[i] = FiniteOr(fFrom[i] + (fTo[i] - fFrom[i]) * Ease(fPhase, curves[i]), kShown[i]);
    }
    const Wex::cRect& bounds = GetBounds();
    const QorRaster::Point centre((bounds.fLeft + bounds.fRight) / 2.0, (bounds.fTop + bounds.fBottom) / 2.0);
    transform = MakeAnimationTransform(centre, {fCurrent[2], fCurrent[3]}, fCurrent[1], fCurrent[4]);
  }
  if (fContent != nullptr) fContent->SetTransform(fCurrent[0], transform);
  if (Wex::iNativeView* view = GetHostView()) view->InvalidateAll();
}

void rcVeltoView::OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) {
  if (id == kTransitionTimer && fRunning) {
    const double next = fPhase + fRunningTransition->fPhaseStep;
    fPhase = next > 0.0 ? std::min(next, 1.0) : 0.0;
    ApplyTransition();
    if (fPhase > 0.0 && fPhase < 1.0) {
      StartTimerAt(Wex::WrapAdd(now, GetTickInterval()), kTransitionTimer);
    } else {
      fRunning = false;
      RunShowingErrors([this] { WindowStateChanged(); });
    }
  }
  rcRootView::OnTimer(scheduler, dueTime, now, id);
}

void rcVeltoView::WindowStateChanged() {
  // The loads that following the layout starts count towards the refresh.
  const cViewCountBound bound(kMaxViewsPerRefresh);
  try {
    if (!fLayoutVariable.empty()) FollowLayout();
    rcRootView::WindowStateChanged();
  } catch (const xTooManyViews&) {
    // Emptied with its layout kept, so that the next refreshes do not load it again.
    ReadAutoExecs(*this, {});
    throw;
  }
}

void rcVeltoView::Load(const std::string& layout) {
  fCurrentLayout = layout;
  ReadAutoExecs(*this, layout);
}

void rcVeltoView::Play(eRole role, bool restart) {
  const std::unique_ptr<cTransitionSpec>* records[] = {nullptr, &fOpenTransition, &fCloseTransition,
                                                       &fSwapOutTransition, &fSwapInTransition};
  const std::unique_ptr<cTransitionSpec>* record = records[static_cast<int>(role)];
  StartTransition(record != nullptr ? record->get() : nullptr, restart);
  fRunningRole = role;
}

void rcVeltoView::FollowLayout() {
  const std::string layout = GetController().GetVariable(*this, fLayoutVariable);
  const bool changed = layout != fCurrentLayout;
  if (fContent == nullptr) {
    if (changed) Load(layout);
    return;
  }
  if (fCurrentLayout.empty() && layout.empty()) return;
  if (layout.empty()) {
    if (fRunningRole != eRole::kClose) Play(eRole::kClose, false);
    if (!fRunning) Load({});
    return;
  }
  if (!fCurrentLayout.empty() && fRunningRole != eRole::kClose) {
    const bool swappingOut = fRunningRole == eRole::kSwapOut;
    if (changed && !swappingOut) Play(eRole::kSwapOut, false);
    // Unchanged, the layout stays unless swap-out is to be turned around; a new layout waits for
    // the end of swap-out.
    if (!changed && !swappingOut) return;
    if (changed && fRunning) return;
    if (changed) Load(layout);
    Play(eRole::kSwapIn, changed);
    return;
  }
  if (changed) Load(layout);
  Play(eRole::kOpen, changed);
}

void rcVeltoView::ReadContents(const Description& description) {
  fOpenTransition = nullptr;
  fCloseTransition = nullptr;
  fSwapInTransition = nullptr;
  fSwapOutTransition = nullptr;
  const std::string_view value = Wex::ValueOf(description, "transitions");
  if (Wex::IsBlockText(value)) {
    const Description transitions = Wex::ParseKeyValueMap(value);
    const std::unique_ptr<cTransitionSpec> defaults = ReadTransitionSpec(transitions, "default", false, nullptr);
    fOpenTransition = ReadTransitionSpec(transitions, "open", false, defaults.get());
    fCloseTransition = ReadTransitionSpec(transitions, "close", true, defaults.get());
    fSwapInTransition = ReadTransitionSpec(transitions, "swapIn", false, fOpenTransition.get());
    fSwapOutTransition = ReadTransitionSpec(transitions, "swapOut", true, fCloseTransition.get());
  }
  rcRootView::ReadContents(description);
}

ref<Wex::rcGUIElement> MakeVeltoView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  const bool transitions = Wex::StringToBool(Wex::ValueOf(description, "transitions"), true);
  const ref<rcTransformContainer> container(transitions ? new rcTransformContainer(bounds) : nullptr);
  // In its container the view fills it: its rectangle is the container's, in the container.
  const Wex::cRect r = container ? Wex::cRect{0, 0, bounds.Width(), bounds.Height()} : bounds;
  const ref<rcVeltoView> view(new rcVeltoView(r, &root.GetController(),
                                              Wex::Unquote(Wex::ValueOf(description, "layoutVariable")),
                                              container.Get()));
  if (root.GetHintWindow()) view->SetHintWindow(root.GetHintWindow());
  if (root.GetLayoutEditor()) view->SetLayoutEditor(root.GetLayoutEditor());
  if (!container) return view;
  container->AddChild(view);
  return container;
}

}  // namespace Velto
