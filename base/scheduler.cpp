#include "base/scheduler.h"

#include "base/exceptions.h"

namespace Wex {

namespace {

// Time b minus time a on the wrapping 32-bit clock.
int32_t Difference(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(b) - static_cast<uint32_t>(a));
}

} // namespace

ref<rcScheduler::rcTask> rcScheduler::AddTask(int32_t dueTime, iref<iSchedulerCallback> callback, uint32_t id)
{
    if (!callback) {
        throw QorDebug::Assert("Scheduled task without a callback");
    }
    ref<rcTask> task(new rcTask(dueTime, std::move(callback), id));
    QorThreads::CriticalRegion::Scope lock(fRegion);
    int64_t position = fTasks.GetSize();
    while (position > 0 && Difference(dueTime, fTasks[position - 1]->GetDueTime()) > 0) {
        --position;
    }
    fTasks.Insert(position, task);
    return task;
}

template <class Predicate>
void rcScheduler::RemoveIf(Predicate predicate)
{
    QorThreads::CriticalRegion::Scope lock(fRegion);
    for (int64_t i = fTasks.GetSize() - 1; i >= 0; --i) {
        if (predicate(*fTasks[i])) {
            fTasks.Remove(i, 1);
        }
    }
}

void rcScheduler::RemoveTasks(const iref<iSchedulerCallback>& callback, uint32_t id)
{
    RemoveIf([&](const rcTask& task) { return task.GetCallback() == callback && task.GetId() == id; });
}

void rcScheduler::RemoveAllTasksOf(const iref<iSchedulerCallback>& callback)
{
    RemoveIf([&](const rcTask& task) { return task.GetCallback() == callback; });
}

bool rcScheduler::GetTimeToNextTask(int32_t now, int32_t& delta) const
{
    QorThreads::CriticalRegion::Scope lock(fRegion);
    if (fTasks.GetSize() == 0) {
        return false;
    }
    delta = Difference(now, fTasks[0]->GetDueTime());
    return true;
}

ref<rcScheduler::rcTask> rcScheduler::TakeDueTask(int32_t now)
{
    QorThreads::CriticalRegion::Scope lock(fRegion);
    if (fTasks.GetSize() == 0 || Difference(now, fTasks[0]->GetDueTime()) > 0) {
        return nullptr;
    }
    ref<rcTask> task = fTasks[0];
    fTasks.Remove(0, 1);
    return task;
}

void rcScheduler::RunDueTasks(int32_t now)
{
    while (const ref<rcTask> task = TakeDueTask(now)) {
        task->GetCallback()->OnTimer(*this, task->GetDueTime(), now, task->GetId());
    }
}

} // namespace Wex

