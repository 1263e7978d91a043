#include "velto/root_view.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/alert.h"
#include "gui/native_view.h"
#include "gui/resources/layout.h"
#include "velto/readers.h"
#include "velto/text_macros.h"
#include "velto/views/value_view.h"
#include "velto/views/view_construction.h"

namespace Velto {

namespace {

// The keys of a map, so that the records may change while the views they name are called.
template <class Map>
std::vector<Wex::rcGUIElement*> Keys(const Map& map) {
  std::vector<Wex::rcGUIElement*> keys;
  keys.reserve(map.size());
  for (const auto& entry : map) keys.push_back(entry.first);
  return keys;
}

void CollectSubtree(Wex::rcGUIElement* element, std::set<Wex::rcGUIElement*>& elements) {
  elements.insert(element);
  if (const auto* container = dynamic_cast<Wex::rcGUIContainer*>(element)) {
    for (std::int64_t i = 0; i < container->GetChildCount(); ++i) CollectSubtree(container->GetChild(i).Get(), elements);
  }
}

}  // namespace

std::string CurrentErrorText() {
  try {
    throw;
  } catch (const Wex::xMacOSError& e) {
    return Wex::FormatMacOSStatus(e.GetStatus());
  } catch (const Wex::xExceptionWithRCString& e) {
    return e.what();
  } catch (const UserCancelledException&) {
    return {};
  } catch (const Exception& e) {
    return e.what();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return {};
  }
}

rcRefreshTimer::rcRefreshTimer(rcRootView& root, ref<Wex::rcGUIElement> view, std::int32_t interval)
    : fRoot(&root), fView(std::move(view)), fInterval(interval) {}

void rcRefreshTimer::OnTimer(Wex::rcScheduler& scheduler, std::int32_t, std::int32_t now, std::uint32_t) {
  const ref<rcRootView> root(fRoot);
  try {
    root->RefreshView(fView);
  } catch (...) {
    // A refresh that fails is tried again on the next tick.
  }
  if (root->GetHost() != nullptr && root->HasRefreshTimer(fView.Get(), this)) {
    scheduler.AddTask(Wex::WrapAdd(now, fInterval), AsCallback(), 0);
  }
}

rcRootView::rcRootView(const Wex::cRect& bounds, iController* controller)
    : rcGUIContainer(bounds), fInitialBounds(bounds), fController(controller) {}

rcRootView::~rcRootView() = default;

void rcRootView::SetHintWindow(ref<rcHintWindow> window) { fHintWindow = std::move(window); }

void rcRootView::SetLayoutEditor(ref<rcLayoutEditor> editor) { fLayoutEditor = std::move(editor); }

void rcRootView::Detach() {
  ClearRecords();
  ClearAutoExecs();
  fHintWindow = nullptr;
  fLayoutEditor = nullptr;
  // Leaving the host also removes every task of the root's own timer.
  rcGUIContainer::Detach();
}

void rcRootView::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  rcGUIContainer::MouseMoved(p, time, modifiers);
  fLastMousePoint = p;
  if (fHintArea.Contains(p)) return;
  fHintArea = {};
  if (fHintWindow) fHintWindow->HideHint(ref<Wex::rcGUIElement>(this));
}

void rcRootView::MouseExited(std::int32_t time) {
  rcGUIContainer::MouseExited(time);
  fHintArea = {};
  if (fHintWindow) fHintWindow->HideHint(ref<Wex::rcGUIElement>(this));
}

void rcRootView::WindowStateChanged() {
  const cViewCountBound bound(kMaxViewsPerRefresh);
  for (Wex::rcGUIElement* view : Keys(fValueBindings)) {
    if (const auto found = fValueBindings.find(view); found != fValueBindings.end()) {
      RefreshBinding(ref<Wex::rcGUIElement>(view), std::string(found->second));
    }
  }
  for (Wex::rcGUIElement* view : Keys(fHintTemplates)) ApplyHintTemplate(view);
  rcGUIContainer::WindowStateChanged();
}

void rcRootView::OnHostAttached(Wex::rcGUIRoot& host) {
  ScheduleTimers();
  rcGUIContainer::OnHostAttached(host);
}

void rcRootView::OnHostDetached(Wex::rcGUIRoot& host) {
  UnscheduleTimers();
  rcGUIContainer::OnHostDetached(host);
}

void rcRootView::ScheduleTimers() {
  const ref<Wex::rcScheduler> scheduler = GetScheduler();
  if (!scheduler) return;
  const std::int32_t now = Wex::CurrentElementTime();
  for (const auto& [view, timer] : fRefreshTimers) {
    scheduler->AddTask(Wex::WrapAdd(now, timer->GetInterval()), timer->AsCallback(), 0);
  }
  // An action run here may load another description or leave the host: a record still runs or
  // comes only while it is one of the view's and the view is on this scheduler.
  const std::vector<ref<rcAutoExec>> autoExecs = fAutoExecs;
  for (const ref<rcAutoExec>& autoExec : autoExecs) {
    if (!HasAutoExec(*autoExec) || GetScheduler().Get() != scheduler.Get()) continue;
    if (autoExec->GetDelay() == 0) {
      autoExec->OnTimer(*scheduler, now, now, 0);
    } else {
      scheduler->AddTask(Wex::WrapAdd(now, autoExec->GetDelay()), autoExec->AsCallback(), 0);
    }
  }
}

void rcRootView::UnscheduleTimers() {
  UnscheduleRefreshTimers();
  UnscheduleAutoExecs();
}

void rcRootView::UnscheduleRefreshTimers() {
  const ref<Wex::rcScheduler> scheduler = GetScheduler();
  if (!scheduler) return;
  for (const auto& [view, timer] : fRefreshTimers) scheduler->RemoveAllTasksOf(timer->AsCallback());
}

void rcRootView::UnscheduleAutoExecs() {
  const ref<Wex::rcScheduler> scheduler = GetScheduler();
  if (!scheduler) return;
  for (const ref<rcAutoExec>& autoExec : fAutoExecs) scheduler->RemoveAllTasksOf(autoExec->AsCallback());
}

void rcRootView::AddAutoExec(ref<rcAutoExec> autoExec) { fAutoExecs.push_back(std::move(autoExec)); }

void rcRootView::ClearAutoExecs() {
  UnscheduleAutoExecs();
  fAutoExecs.clear();
}

bool rcRootView::HasAutoExec(const rcAutoExec& autoExec) const {
  return std::any_of(fAutoExecs.begin(), fAutoExecs.end(),
                     [&autoExec](const ref<rcAutoExec>& held) { return held.Get() == &autoExec; });
}

ref<Wex::rcExtWindow> rcRootView::GetWindow() const { return GetHostWindow(); }

void rcRootView::OnTimer(Wex::rcScheduler&, std::int32_t, std::int32_t, std::uint32_t id) {
  if (id == kReloadTimer) {
    RunShowingErrors([this] { fController->ReloadResources(*this); });
  } else if (id == kRefreshTimer) {
    RunShowingErrors([this] { fController->ReloadFromPlugIn(*this); });
  }
}

void rcRootView::RemoveChild(const ref<Wex::rcGUIElement>& child) {
  ForgetView(child);
  rcGUIContainer::RemoveChild(child);
}

void rcRootView::RemoveAllChildren() {
  ClearRecords();
  rcGUIContainer::RemoveAllChildren();
}

void rcRootView::ViewChanged(ref<Wex::rcGUIElement> view, std::int32_t code) {
  const auto* tagged = dynamic_cast<rcView*>(view.Get());
  auto* control = dynamic_cast<iValueControl*>(view.Get());
  if (tagged == nullptr || tagged->GetListenerTag() != kRootListenerTag || control == nullptr) return;
  const auto found = fValueBindings.find(view.Get());
  const std::string variable = found != fValueBindings.end() ? found->second : std::string();
  if (code == 3) {
    const bool tracking = control->IsTracking();
    fController->SetVariableTracking(*this, variable, tracking);
    if (!tracking) RefreshBinding(view, variable);
  } else if (code == 7 && control->IsTracking()) {
    fController->SetVariable(*this, variable, Wex::DoubleToString(control->GetValue()), true);
  }
}

iref<iFont> rcRootView::GetFont(const std::string& value) { return fController->GetFont(*this, value); }

void rcRootView::ReadContents(const Description& description) {
  const auto bounds = description.find("bounds");
  SetRect(bounds != description.end() ? ReadLayoutRect(bounds->second, fInitialBounds) : fInitialBounds);
  MakeChildViews(*this, Wex::PartOf(description, "views"), *this);
}

void rcRootView::AddValueBinding(const ref<Wex::rcGUIElement>& view, const std::string& variable) {
  fValueBindings.emplace(view.Get(), variable);
}

void rcRootView::RefreshBinding(const ref<Wex::rcGUIElement>& view, const std::string& variable) {
  auto* control = dynamic_cast<iValueControl*>(view.Get());
  if (control == nullptr) return;
  control->SetEnabled(fController->TestVariable(*this, variable));
  // Double precision: a value written as "%.14g" reads back as the same number.
  const double value = Wex::StringToDouble(fController->GetVariable(*this, variable), control->GetValue());
  if (!control->IsTracking()) control->SetValue(value);
}

void rcRootView::SetHintTemplate(rcView& view, const std::string& text) { fHintTemplates[&view] = text; }

void rcRootView::ApplyHintTemplate(Wex::rcGUIElement* view) {
  const auto found = fHintTemplates.find(view);
  if (found == fHintTemplates.end()) return;
  const ref<rcView> hinted(static_cast<rcView*>(view));  // only views have templates
  hinted->SetHint(Wex::MakeRCString(ExpandTextMacros(*this, std::string(found->second))));
}

void rcRootView::ReadAutoRefresh(const ref<Wex::rcGUIElement>& view, const Description& description) {
  const auto found = description.find("autoRefresh");
  if (found == description.end()) return;
  const double rate = Wex::EvaluateExpression(found->second, 30.0);
  if (!(rate > 0.0 && std::isfinite(rate)) || fRefreshTimers.contains(view.Get())) return;
  fRefreshTimers.emplace(view.Get(), ref<rcRefreshTimer>(new rcRefreshTimer(*this, view, RateToInterval(rate))));
}

void rcRootView::RefreshView(const ref<Wex::rcGUIElement>& view) {
  if (const auto found = fValueBindings.find(view.Get()); found != fValueBindings.end()) {
    RefreshBinding(view, std::string(found->second));
  }
  ApplyHintTemplate(view.Get());
  view->WindowStateChanged();
}

void rcRootView::ShowError(const std::string& message) {
  if (fController->ShowError(*this, message)) return;
  const std::string shown = Wex::ShortenForDisplay(message.empty() ? "Unexpected error!" : message);
  Wex::RunAlert(4, 0, 0, Wex::MakeRCString("Error"), Wex::MakeRCString(shown), GetWindow());
}

bool rcRootView::HasRefreshTimer(Wex::rcGUIElement* view, const rcRefreshTimer* timer) const {
  const auto found = fRefreshTimers.find(view);
  return found != fRefreshTimers.end() && found->second.Get() == timer;
}

void rcRootView::ForgetView(const ref<Wex::rcGUIElement>& view) {
  std::set<Wex::rcGUIElement*> subtree;
  CollectSubtree(view.Get(), subtree);
  const auto below = [&subtree](const auto& entry) { return subtree.contains(entry.first); };
  if (const ref<rcLayoutEditor> editor = fLayoutEditor) {
    editor->RemoveEntriesIf(
        [&subtree](const LayoutEditorEntry& entry) { return subtree.contains(entry.fListenerArgument); });
  }
  std::erase_if(fHintTemplates, below);
  std::erase_if(fValueBindings, below);
  const ref<Wex::rcScheduler> scheduler = GetScheduler();
  for (Wex::rcGUIElement* element : subtree) {
    const auto found = fRefreshTimers.find(element);
    if (found == fRefreshTimers.end()) continue;
    if (scheduler) scheduler->RemoveAllTasksOf(found->second->AsCallback());
    fRefreshTimers.erase(found);
  }
}

void rcRootView::RunShowingErrors(const std::function<void()>& action) noexcept {
  std::string message;
  try {
    action();
    return;
  } catch (...) {
    message = CurrentErrorText();
  }
  if (message.empty()) return;
  try {
    ShowError(message);
  } catch (...) {
    // Nothing may leave a timer into the event loop.
  }
}

ref<Wex::rcScheduler> rcRootView::GetScheduler() const {
  Wex::iNativeView* view = GetHostView();
  return view != nullptr ? view->GetScheduler() : nullptr;
}

void rcRootView::ClearRecords() {
  if (const ref<rcLayoutEditor> editor = fLayoutEditor) {
    editor->RemoveEntriesIf([this](const LayoutEditorEntry& entry) { return entry.fValue == this; });
  }
  UnscheduleRefreshTimers();
  fRefreshTimers.clear();
  fHintTemplates.clear();
  fValueBindings.clear();
}

void ReadHint(rcRootView& root, const ref<rcView>& view, const Description& description) {
  const auto found = description.find("hint");
  if (found == description.end()) return;
  view->SetHintWindow(root.GetHintWindow());
  const std::string text = Wex::Unquote(found->second);
  if (HasVariableMacro(text)) {
    root.SetHintTemplate(*view, text);
  } else {
    view->SetHint(Wex::MakeRCString(ExpandTextMacros(root, text)));
  }
}

}  // namespace Velto
