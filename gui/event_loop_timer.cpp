#include "gui/event_loop_timer.h"

#include <glib.h>

#include "base/clock.h"

using EventLoopTarget = comkelvane_brimlib_20150413151123_EventLoopTarget;

namespace {

constexpr guint kIntervalMilliseconds = 5;

// The source's callback. An exception must not unwind through the main loop's frames, so
// whatever a fire throws is dropped there.
gboolean FireTarget(gpointer target) {
  try {
    static_cast<EventLoopTarget*>(target)->timerFireMethod();
  } catch (...) {
  }
  return G_SOURCE_CONTINUE;
}

void ReleaseTarget(gpointer target) { Wex::ReleaseReference(static_cast<EventLoopTarget*>(target)); }

}  // namespace

void EventLoopTarget::timerFireMethod() {
  // The callback may be replaced, or its timer released, during the fire.
  if (const iref<Wex::iMacEventLoopTimerCallback> held = callback) held->Fire();
}

namespace Wex {

rcMacEventLoopTimer::rcMacEventLoopTimer() : fTarget(new EventLoopTarget()) {}

rcMacEventLoopTimer::~rcMacEventLoopTimer() {
  if (fTimer != nullptr) {
    g_source_destroy(fTimer);
    g_source_unref(fTimer);
    fTimer = nullptr;
  }
}

void rcMacEventLoopTimer::SetCallback(const iref<iMacEventLoopTimerCallback>& callback) {
  fTarget->setCallback(callback);
}

void rcMacEventLoopTimer::Start() {
  if (fTimer != nullptr) return;
  fTimer = g_timeout_source_new(kIntervalMilliseconds);
  // The source holds its own reference to the target, which the main loop keeps for a fire in
  // progress even when the timer is released meanwhile.
  AddReference(fTarget.Get());
  g_source_set_callback(fTimer, FireTarget, fTarget.Get(), ReleaseTarget);
  g_source_attach(fTimer, nullptr);
}

void rcSchedulerTimerCallback::Fire() {
  // A task may release the owner of this callback, and with it the scheduler.
  const ref<rcScheduler> scheduler = fScheduler;
  if (!scheduler) return;
  const auto now = static_cast<std::int32_t>(GetMilliseconds());
  std::int32_t delta = 0;
  if (!scheduler->GetTimeToNextTask(now, delta) || delta >= 1) return;
  const ref<rcMacEventLoopTimer> guard(new rcMacEventLoopTimer());
  guard->SetCallback(iref<iMacEventLoopTimerCallback>(new rcSchedulerTimerCallback(scheduler)));
  guard->Start();
  scheduler->RunDueTasks(now);
}

}  // namespace Wex
