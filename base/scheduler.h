// Timed tasks, run by whoever owns the scheduler (the event-loop timers of the GUI layer).
#pragma once

#include <cstdint>

#include "base/critical_region.h"
#include "base/rc.h"
#include "base/rc_vector.h"

namespace Wex {

class rcScheduler;

// The callback of scheduled tasks.
class iSchedulerCallback {
public:
    // A plain callback; does nothing unless overridden.
    virtual void Callback() {}
    // The scheduled call: the task's due time, the time the scheduler was run at (both the low 32
    // bits of GetMilliseconds) and the task's id. The scheduler's lock is not held.
    virtual void OnTimer(rcScheduler& scheduler, int32_t dueTime, int32_t now, uint32_t id) = 0;

protected:
    virtual ~iSchedulerCallback() = default;
};

// A list of timed tasks under its own re-entrant lock. Due times are compared by their signed
// 32-bit difference, so the wrap of the 32-bit clock is harmless for delays below 24 days.
class rcScheduler : public rc {
public:
    // One pending call.
    class rcTask : public rc {
    public:
        rcTask(int32_t dueTime, iref<iSchedulerCallback> callback, uint32_t id)
            : fDueTime(dueTime), fCallback(std::move(callback)), fId(id)
        {
        }
        int32_t GetDueTime() const noexcept { return fDueTime; }
        const iref<iSchedulerCallback>& GetCallback() const noexcept { return fCallback; }
        uint32_t GetId() const noexcept { return fId; }

    private:
        int32_t fDueTime;
        iref<iSchedulerCallback> fCallback;
        uint32_t fId;
    };

    // Adds a task that runs once, when due; tasks due at the same time run in the order added.
    // A null callback throws QorDebug::Assert.
    ref<rcTask> AddTask(int32_t dueTime, iref<iSchedulerCallback> callback, uint32_t id);
    // Removes every pending task whose callback and id both match.
    void RemoveTasks(const iref<iSchedulerCallback>& callback, uint32_t id);
    // Removes every pending task of the callback, whatever its id.
    void RemoveAllTasksOf(const iref<iSchedulerCallback>& callback);
    // When a task is pending: stores (its due time - now) and answers true; else answers false.
    bool GetTimeToNextTask(int32_t now, int32_t& delta) const;
    // Repeatedly takes the next task due at or before now, removes it and calls its callback
    // with the lock released; tasks that the callbacks add also run when they are due by then.
    // The caller holds a reference to the scheduler for the duration.
    void RunDueTasks(int32_t now);

private:
    // Removes the pending tasks that the predicate selects.
    template <class Predicate>
    void RemoveIf(Predicate predicate);
    // The next task when it is due at `now`, removed from the list; else null.
    ref<rcTask> TakeDueTask(int32_t now);

    mutable QorThreads::CriticalRegion fRegion;
    // Ordered by due time.
    rcVector<ref<rcTask>> fTasks;
};

} // namespace Wex
