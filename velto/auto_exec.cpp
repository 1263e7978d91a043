#include "velto/auto_exec.h"

#include <cmath>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/key_value.h"
#include "base/text.h"
#include "gui/geometry.h"
#include "velto/actions.h"
#include "velto/readers.h"
#include "velto/root_view.h"
#include "velto/velto_view.h"
#include "velto/views/view_construction.h"

namespace Velto {

namespace {

// The nested views that hold the element.
int CountNestedViewsAbove(const Wex::rcGUIElement& element) {
  int count = 0;
  for (const Wex::rcGUIElement* above = element.GetParent(); above != nullptr; above = above->GetParent()) {
    if (dynamic_cast<const rcVeltoView*>(above) != nullptr) ++count;
  }
  return count;
}

std::int32_t ReadSeconds(const Description& block, const std::string& key) {
  return SecondsToAutoExecTime(Wex::EvaluateExpression(Wex::ValueOf(block, key), 0.0));
}

}  // namespace

rcAutoExec::rcAutoExec(rcRootView& view, std::string action, std::string params, std::int32_t delay,
                       std::int32_t repeat)
    : fView(&view), fAction(std::move(action)), fParams(std::move(params)), fDelay(delay), fRepeat(repeat) {}

rcAutoExec::~rcAutoExec() = default;

void rcAutoExec::OnTimer(Wex::rcScheduler& scheduler, std::int32_t, std::int32_t now, std::uint32_t) {
  PerformAction(*fView, fAction, fParams);
  // The action may have loaded another description, or detached the view: an action that is gone
  // must not run on.
  if (fRepeat != 0 && fView->GetHost() != nullptr && fView->HasAutoExec(*this)) {
    scheduler.AddTask(Wex::WrapAdd(now, fRepeat), AsCallback(), 0);
  }
}

std::int32_t SecondsToAutoExecTime(double seconds) {
  const double milliseconds = std::round(seconds * 1000.0);
  if (!(milliseconds > 0.0)) return 0;
  return milliseconds < kMaxTickInterval ? static_cast<std::int32_t>(milliseconds) : kMaxTickInterval;
}

void ReadAutoExecs(rcRootView& view, const std::string& name) {
  if (!name.empty() && CountNestedViewsAbove(view) >= kMaxVeltoViewNesting) {
    throw FormatException("Velto views nested too deeply");
  }
  // Dropping the automatic actions and the children (with their records) removes their tasks.
  view.ClearAutoExecs();
  view.RemoveAllChildren();
  if (!name.empty()) {
    const Description description = Wex::ParseKeyValueMap(view.GetController().LoadGUIDescription(view, name));
    const cViewCountBound bound(kMaxViewsPerLoad);
    view.ReadContents(description);
    for (const std::string& item : Wex::ParseList(Wex::ValueOf(description, "autoexecs"))) {
      const Description block = Wex::ParseKeyValueMap(item);
      const std::int32_t delay = ReadSeconds(block, "delay");
      const std::int32_t repeat = ReadSeconds(block, "repeat");
      view.AddAutoExec(ref<rcAutoExec>(new rcAutoExec(view, Wex::Unquote(Wex::ValueOf(block, "action")),
                                                      Wex::Unquote(Wex::ValueOf(block, "params")), delay, repeat)));
    }
  }
  view.ScheduleTimers();
}

}  // namespace Velto
