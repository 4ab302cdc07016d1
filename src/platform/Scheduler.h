#pragma once

#include <QtGlobal>
#include <functional>

// The program's one scheduler of delayed and repeating work on the main thread.
// The real one runs on Qt's timers; tests install a clock of their own.
class Scheduler {
public:
    using TaskId = quint64;

    virtual ~Scheduler() = default;
    // Calls `task` after `seconds`, and every `seconds` after that when `repeats`.
    virtual TaskId schedule(double seconds, bool repeats, std::function<void()> task) = 0;
    // After this the task is never called again, even with a firing pending.
    virtual void cancel(TaskId id) = 0;
    // Seconds on a steady clock, for measuring the time between events.
    virtual double now() const = 0;

    static Scheduler& shared();
    // Installs `scheduler` (not owned) in place of the real one; null restores it.
    static void setShared(Scheduler* scheduler);
};
