#include "gui/event_loop_timer.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"

namespace {

using Log = std::vector<std::string>;

std::int32_t Now() { return static_cast<std::int32_t>(Wex::GetMilliseconds()); }

// A scheduled task or a timer callback that runs a function.
class rcAction : public Wex::rc, public Wex::iSchedulerCallback, public Wex::iMacEventLoopTimerCallback {
 public:
  explicit rcAction(std::function<void()> action) : fAction(std::move(action)) {}
  void OnTimer(Wex::rcScheduler&, std::int32_t, std::int32_t, std::uint32_t) override { fAction(); }
  void Fire() override { fAction(); }

 private:
  std::function<void()> fAction;
};

iref<Wex::iSchedulerCallback> Task(std::function<void()> action) {
  return iref<Wex::iSchedulerCallback>(new rcAction(std::move(action)));
}

// Iterates the main context until done answers true, at most for the time given.
bool RunUntil(const std::function<bool()>& done, std::int64_t milliseconds) {
  const std::int64_t deadline = Wex::GetMilliseconds() + milliseconds;
  while (!done()) {
    if (Wex::GetMilliseconds() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(500);
  }
  return true;
}

ref<Wex::rcMacEventLoopTimer> StartTimer(const ref<Wex::rcScheduler>& scheduler) {
  ref<Wex::rcMacEventLoopTimer> timer(new Wex::rcMacEventLoopTimer());
  timer->SetCallback(iref<Wex::iMacEventLoopTimerCallback>(new Wex::rcSchedulerTimerCallback(scheduler)));
  timer->Start();
  return timer;
}

TEST(SchedulerTimerCallback, RunsTasksDueNowAndLeavesThoseDueInAMillisecond) {
  // The fire reads the clock itself: a try counts only when the clock stood still meanwhile.
  for (int attempt = 0; attempt < 100; ++attempt) {
    Log log;
    const ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    const std::int32_t now = Now();
    scheduler->AddTask(now + 1, Task([&] { log.push_back("next"); }), 1);
    scheduler->AddTask(now, Task([&] { log.push_back("now"); }), 2);
    scheduler->AddTask(now - 7, Task([&] { log.push_back("overdue"); }), 3);
    ref<Wex::rcSchedulerTimerCallback>(new Wex::rcSchedulerTimerCallback(scheduler))->Fire();
    if (Now() != now) continue;
    EXPECT_EQ(log, (Log{"overdue", "now"}));
    std::int32_t delta = 0;
    ASSERT_TRUE(scheduler->GetTimeToNextTask(now, delta));
    EXPECT_EQ(delta, 1);
    return;
  }
  GTEST_SKIP() << "the clock never stood still for one fire";
}

TEST(EventLoopTimer, ATaskInANestedLoopDoesNotStopTheOthers) {
  Log log;
  const ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
  const ref<Wex::rcMacEventLoopTimer> timer = StartTimer(scheduler);
  GMainLoop* nested = g_main_loop_new(nullptr, FALSE);
  // The first task blocks in a nested loop (as a modal dialog would) that only the second task
  // or a time-out of two seconds ends.
  scheduler->AddTask(Now(), Task([&] {
                       log.push_back("modal begins");
                       const guint timeout = g_timeout_add(2000, [](gpointer loop) {
                         g_main_loop_quit(static_cast<GMainLoop*>(loop));
                         return G_SOURCE_REMOVE;
                       }, nested);
                       g_main_loop_run(nested);
                       if (GSource* source = g_main_context_find_source_by_id(nullptr, timeout)) g_source_destroy(source);
                       log.push_back("modal ends");
                     }),
                     1);
  scheduler->AddTask(Now() + 30, Task([&] {
                       log.push_back("due meanwhile");
                       g_main_loop_quit(nested);
                     }),
                     2);
  EXPECT_TRUE(RunUntil([&] { return log.size() == 3; }, 5000));
  EXPECT_EQ(log, (Log{"modal begins", "due meanwhile", "modal ends"}));
  g_main_loop_unref(nested);
}

TEST(EventLoopTimer, ATaskMayReleaseTheTimerAndTheSchedulerThatRunIt) {
  struct Owner {
    ref<Wex::rcScheduler> scheduler{new Wex::rcScheduler()};
    ref<Wex::rcMacEventLoopTimer> timer;
  } owner;
  owner.timer = StartTimer(owner.scheduler);
  bool ran = false;
  owner.scheduler->AddTask(Now(), Task([&] {
                             owner.timer = nullptr;
                             owner.scheduler = nullptr;
                             ran = true;
                           }),
                           1);
  EXPECT_TRUE(RunUntil([&] { return ran; }, 5000));
  // Nothing fires any more.
  EXPECT_FALSE(RunUntil([] { return false; }, 30));
}

TEST(EventLoopTimer, FiresUntilReleasedWhateverItsCallbackDoes) {
  int fires = 0;
  ref<Wex::rcMacEventLoopTimer> timer(new Wex::rcMacEventLoopTimer());
  timer->Start();
  timer->Start();
  // Without a callback the fires do nothing.
  RunUntil([] { return false; }, 30);
  // Exceptions stay inside the fire, and the timer goes on.
  timer->SetCallback(iref<Wex::iMacEventLoopTimerCallback>(new rcAction([&] {
    ++fires;
    throw std::runtime_error("lost window");
  })));
  EXPECT_TRUE(RunUntil([&] { return fires >= 3; }, 5000));
  timer = nullptr;
  const int firesBefore = fires;
  RunUntil([] { return false; }, 30);
  EXPECT_EQ(fires, firesBefore);
}

}  // namespace
