#pragma once

#include "platform/Scheduler.h"

#include <functional>
#include <memory>

// The block timer of the views: calls its block with itself each time it fires.
// While scheduled it keeps itself alive, so an owner need not hold it.
class MWTimer : public std::enable_shared_from_this<MWTimer> {
public:
    using Block = std::function<void(MWTimer&)>;

    // Made running.
    static std::shared_ptr<MWTimer> timerWithInterval(double interval, bool repeats,
                                                      Block didFinishBlock);
    ~MWTimer();

    bool repeats() const { return repeats_; }
    double interval() const { return interval_; }
    bool isScheduled() const { return scheduled_; }

    // Schedules it afresh: the full interval from now, never a second schedule.
    void run();
    void invalidateTimerOnly();
    void invalidate();
    void timerDidFinish();

private:
    MWTimer(double interval, bool repeats, Block block);

    bool repeats_;
    double interval_;
    Block didFinishBlock_;
    Scheduler::TaskId timer_ = 0;
    bool scheduled_ = false;
};
