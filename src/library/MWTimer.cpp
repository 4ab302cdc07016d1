#include "library/MWTimer.h"

std::shared_ptr<MWTimer> MWTimer::timerWithInterval(double interval, bool repeats,
                                                    Block didFinishBlock) {
    std::shared_ptr<MWTimer> timer(new MWTimer(interval, repeats, std::move(didFinishBlock)));
    timer->run();
    return timer;
}

MWTimer::MWTimer(double interval, bool repeats, Block block)
    : repeats_(repeats), interval_(interval), didFinishBlock_(std::move(block)) {}

MWTimer::~MWTimer() {
    invalidate();
}

void MWTimer::run() {
    invalidateTimerOnly();
    // The scheduled task holds the timer; a one-shot lets go of it once it fired.
    std::shared_ptr<MWTimer> self = shared_from_this();
    scheduled_ = true;
    timer_ = Scheduler::shared().schedule(interval_, repeats_, [self] {
        if (!self->repeats_)
            self->scheduled_ = false;
        self->timerDidFinish();
    });
}

void MWTimer::timerDidFinish() {
    if (didFinishBlock_) {
        // The block may invalidate the timer, which drops the block while it runs.
        Block block = didFinishBlock_;
        block(*this);
    }
}

void MWTimer::invalidateTimerOnly() {
    if (!scheduled_)
        return;
    scheduled_ = false;
    Scheduler::shared().cancel(timer_);
}

void MWTimer::invalidate() {
    invalidateTimerOnly();
    didFinishBlock_ = nullptr;
}
