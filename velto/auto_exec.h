#pragma once

// Loading a named description into a root view or a nested view, with the description's
// automatic actions ("autoexecs"): actions that run once after a delay, or again and again at a
// period, while their view is attached to a host.

#include <cstdint>
#include <string>

#include "base/rc.h"
#include "base/scheduler.h"

namespace Velto {

class rcRootView;

// Nested views load descriptions this many nested views deep at most.
inline constexpr int kMaxVeltoViewNesting = 16;

// One automatic action of a view, which it performs on.
class rcAutoExec : public Wex::rc, public Wex::iSchedulerCallback {
 public:
  // Delay and repeat are milliseconds; a repeat of 0 runs once.
  rcAutoExec(rcRootView& view, std::string action, std::string params, std::int32_t delay, std::int32_t repeat);
  ~rcAutoExec() override;

  // Performs the action; a repeating one comes again at now + repeat while it is still one of
  // its view's automatic actions and the view is hosted.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;

  const std::string& GetAction() const { return fAction; }
  const std::string& GetParams() const { return fParams; }
  std::int32_t GetDelay() const { return fDelay; }
  std::int32_t GetRepeat() const { return fRepeat; }
  iref<Wex::iSchedulerCallback> AsCallback() { return iref<Wex::iSchedulerCallback>(this); }

 private:
  ref<rcRootView> fView;
  std::string fAction;
  std::string fParams;
  std::int32_t fDelay;
  std::int32_t fRepeat;
};

// Seconds as milliseconds for an automatic action: rounded (halves away from zero) and limited
// to 0 ... 2^30; NaN gives 0.
std::int32_t SecondsToAutoExecTime(double seconds);

// Empties the view (its timers' tasks, automatic actions and children go) and, for a name that is
// not empty, fills it from the controller's description of that name: its contents, then one
// automatic action per block of "autoexecs" ("action", "params", "delay" and "repeat" in seconds).
// A hosted view then schedules its timers again, running the actions without delay at once.
// Errors of the controller and the readers leave, the view keeping what was built. Loading a
// description into a view that has kMaxVeltoViewNesting nested views above it throws
// FormatException "Velto views nested too deeply" before anything changes; a load that would make
// more than kMaxViewsPerLoad views, those of the nested descriptions that it loads included,
// throws FormatException "Too many views".
void ReadAutoExecs(rcRootView& view, const std::string& name);

}  // namespace Velto
