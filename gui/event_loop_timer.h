#pragma once

// The repeating 5 ms timer of the main thread's event loop that drives all time-driven work of
// the editor, and the callback that runs the due tasks of one scheduler from it. The timer fires
// in every nested loop of the main context too (modal dialogs, menus, file choosers). Main
// thread only.

#include "base/rc.h"
#include "base/scheduler.h"

typedef struct _GSource GSource;

namespace Wex {

class iMacEventLoopTimerCallback {
 public:
  virtual void Fire() = 0;

 protected:
  virtual ~iMacEventLoopTimerCallback() = default;
};

}  // namespace Wex

// The object that the timer calls on each fire; it passes the fire on to its callback.
class comkelvane_brimlib_20150413151123_EventLoopTarget : public Wex::rc {
 public:
  void setCallback(const iref<Wex::iMacEventLoopTimerCallback>& newCallback) { callback = newCallback; }
  // Fires the callback, holding it for the call; without one it does nothing.
  void timerFireMethod();

 private:
  iref<Wex::iMacEventLoopTimerCallback> callback;
};

namespace Wex {

class rcMacEventLoopTimer : public rc {
 public:
  rcMacEventLoopTimer();
  rcMacEventLoopTimer(const rcMacEventLoopTimer&) = delete;
  rcMacEventLoopTimer& operator=(const rcMacEventLoopTimer&) = delete;
  // Stops the timer: no fire comes after it.
  ~rcMacEventLoopTimer() override;

  void SetCallback(const iref<iMacEventLoopTimerCallback>& callback);
  // Starts firing every 5 ms on the main context; a second call does nothing.
  void Start();

 private:
  GSource* fTimer = nullptr;
  ref<comkelvane_brimlib_20150413151123_EventLoopTarget> fTarget;
};

// Runs the due tasks of one scheduler. While they run, a nested guard timer serves the
// scheduler, so that a task that blocks in a nested loop does not stop the others.
class rcSchedulerTimerCallback : public rc, public iMacEventLoopTimerCallback {
 public:
  explicit rcSchedulerTimerCallback(const ref<rcScheduler>& scheduler) : fScheduler(scheduler) {}

  // A fire with no task due within the next millisecond creates nothing.
  void Fire() override;

 private:
  ref<rcScheduler> fScheduler;
};

}  // namespace Wex
