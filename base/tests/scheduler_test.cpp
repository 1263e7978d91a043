#include "base/scheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "base/exceptions.h"

namespace {

struct Call {
    int32_t due;
    int32_t now;
    uint32_t id;
    bool operator==(const Call&) const = default;
};

// Records its scheduled calls and runs an optional action inside each.
class Recorder : public Wex::rc, public Wex::iSchedulerCallback {
public:
    void OnTimer(Wex::rcScheduler& scheduler, int32_t due, int32_t now, uint32_t id) override
    {
        fCalls.push_back({due, now, id});
        if (fAction) {
            fAction(scheduler, id);
        }
    }
    std::vector<Call> fCalls;
    std::function<void(Wex::rcScheduler&, uint32_t)> fAction;
};

std::vector<uint32_t> Ids(const Recorder& recorder)
{
    std::vector<uint32_t> ids;
    for (const Call& call : recorder.fCalls) {
        ids.push_back(call.id);
    }
    return ids;
}

TEST(Scheduler, RunsDueTasksOnceInDueOrder)
{
    ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    ref<Recorder> recorder(new Recorder());
    scheduler->AddTask(30, recorder, 3);
    scheduler->AddTask(10, recorder, 1);
    scheduler->AddTask(20, recorder, 2);
    scheduler->AddTask(10, recorder, 4); // same due time: after the first one
    int32_t delta = 0;
    ASSERT_TRUE(scheduler->GetTimeToNextTask(5, delta));
    EXPECT_EQ(delta, 5);
    scheduler->RunDueTasks(20);
    EXPECT_EQ(recorder->fCalls, (std::vector<Call>{{10, 20, 1}, {10, 20, 4}, {20, 20, 2}}));
    scheduler->RunDueTasks(25);
    EXPECT_EQ(recorder->fCalls.size(), 3u);
    ASSERT_TRUE(scheduler->GetTimeToNextTask(40, delta));
    EXPECT_EQ(delta, -10);
    scheduler->RunDueTasks(40);
    EXPECT_EQ(Ids(*recorder), (std::vector<uint32_t>{1, 4, 2, 3}));
    EXPECT_FALSE(scheduler->GetTimeToNextTask(40, delta));
}

TEST(Scheduler, TheWrapOfTheClockIsHarmless)
{
    ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    ref<Recorder> recorder(new Recorder());
    const int32_t beforeWrap = 2147483647 - 5;
    const int32_t afterWrap = -2147483647 - 1 + 5; // 11 ms later
    scheduler->AddTask(afterWrap, recorder, 2);
    scheduler->AddTask(beforeWrap, recorder, 1);
    int32_t delta = 0;
    ASSERT_TRUE(scheduler->GetTimeToNextTask(beforeWrap - 1, delta));
    EXPECT_EQ(delta, 1);
    scheduler->RunDueTasks(beforeWrap + 1);
    EXPECT_EQ(Ids(*recorder), (std::vector<uint32_t>{1}));
    ASSERT_TRUE(scheduler->GetTimeToNextTask(beforeWrap + 1, delta));
    EXPECT_EQ(delta, 10);
    scheduler->RunDueTasks(afterWrap);
    EXPECT_EQ(Ids(*recorder), (std::vector<uint32_t>{1, 2}));
}

TEST(Scheduler, RemovesByCallbackAndId)
{
    ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    ref<Recorder> a(new Recorder());
    ref<Recorder> b(new Recorder());
    for (uint32_t id = 1; id <= 3; ++id) {
        scheduler->AddTask(0, a, id);
        scheduler->AddTask(0, b, id);
    }
    scheduler->AddTask(0, a, 2);
    scheduler->RemoveTasks(a, 2);
    scheduler->RemoveTasks(a, 99);
    scheduler->RemoveAllTasksOf(b);
    EXPECT_EQ(b->GetReferenceCount(), 1); // the tasks released their callback references
    scheduler->RunDueTasks(0);
    EXPECT_EQ(Ids(*a), (std::vector<uint32_t>{1, 3}));
    EXPECT_TRUE(b->fCalls.empty());
}

TEST(Scheduler, CallbacksRunUnlockedAndMayScheduleAgain)
{
    ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    ref<Recorder> recorder(new Recorder());
    std::atomic<bool> otherThreadGotIn{false};
    recorder->fAction = [&](Wex::rcScheduler& s, uint32_t id) {
        // Another thread can use the scheduler while the callback runs.
        std::thread other([&] {
            int32_t delta = 0;
            s.GetTimeToNextTask(0, delta);
            otherThreadGotIn = true;
        });
        other.join();
        if (id < 3) {
            s.AddTask(static_cast<int32_t>(id) * 10, recorder, id + 1); // due by 20: runs in this pass
        }
    };
    scheduler->AddTask(0, recorder, 1);
    scheduler->RunDueTasks(20);
    EXPECT_TRUE(otherThreadGotIn);
    EXPECT_EQ(Ids(*recorder), (std::vector<uint32_t>{1, 2, 3}));
    recorder->fAction = nullptr;
}

TEST(Scheduler, ATaskRemovedByAnEarlierCallbackDoesNotRun)
{
    ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    ref<Recorder> first(new Recorder());
    ref<Recorder> second(new Recorder());
    first->fAction = [&](Wex::rcScheduler& s, uint32_t) { s.RemoveAllTasksOf(second); };
    scheduler->AddTask(1, first, 1);
    ref<Wex::rcScheduler::rcTask> task = scheduler->AddTask(2, second, 2);
    EXPECT_EQ(task->GetDueTime(), 2);
    EXPECT_EQ(task->GetId(), 2u);
    scheduler->RunDueTasks(5);
    EXPECT_TRUE(second->fCalls.empty());
    first->fAction = nullptr;
}

TEST(Scheduler, RejectsANullCallback)
{
    ref<Wex::rcScheduler> scheduler(new Wex::rcScheduler());
    EXPECT_THROW(scheduler->AddTask(0, nullptr, 0), QorDebug::Assert);
}

TEST(Clock, CountsMillisecondsForward)
{
    const int64_t start = Wex::GetMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int64_t elapsed = Wex::GetMilliseconds() - start;
    EXPECT_GE(elapsed, 19);
    EXPECT_LT(elapsed, 5000);
}

} // namespace
