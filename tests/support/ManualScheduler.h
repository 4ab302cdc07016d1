#pragma once

#include "platform/Scheduler.h"

#include <atomic>
#include <map>
#include <memory>

// A scheduler whose clock moves only when the test says so. Installed for its
// lifetime in place of the real one.
class ManualScheduler : public Scheduler {
public:
    ManualScheduler() { Scheduler::setShared(this); }
    ~ManualScheduler() override { Scheduler::setShared(nullptr); }

    TaskId schedule(double seconds, bool repeats, std::function<void()> task) override {
        const TaskId id = ++lastId_;
        tasks_[id] = Task{now_ + seconds, seconds, repeats,
                          std::make_shared<std::function<void()>>(std::move(task))};
        return id;
    }
    void cancel(TaskId id) override { tasks_.erase(id); }

    double now() const override { return now_.load(); }
    size_t pendingCount() const { return tasks_.size(); }

    // Moves the clock forward, running every firing that falls due, in time order.
    void advance(double seconds) {
        const double end = now_ + seconds;
        for (;;) {
            auto next = tasks_.end();
            for (auto it = tasks_.begin(); it != tasks_.end(); ++it) {
                if (it->second.due <= end + 1e-9 &&
                    (next == tasks_.end() || it->second.due < next->second.due))
                    next = it;
            }
            if (next == tasks_.end())
                break;
            now_ = next->second.due;
            std::shared_ptr<std::function<void()>> run = next->second.run;
            if (next->second.repeats)
                next->second.due += next->second.interval;
            else
                tasks_.erase(next);
            (*run)();
        }
        now_ = end;
    }

private:
    struct Task {
        double due;
        double interval;
        bool repeats;
        std::shared_ptr<std::function<void()>> run;
    };
    std::map<TaskId, Task> tasks_;
    // Worker threads read the clock while the test moves it.
    std::atomic<double> now_{0};
    TaskId lastId_ = 0;
};
