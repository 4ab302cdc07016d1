#include "platform/Scheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <memory>

namespace {

class QtScheduler : public Scheduler {
public:
    QtScheduler() {
        // The first to ask for the clock may be a worker; the timers are the main thread's.
        if (QCoreApplication* app = QCoreApplication::instance())
            owner_.moveToThread(app->thread());
    }

    TaskId schedule(double seconds, bool repeats, std::function<void()> task) override {
        const TaskId id = ++lastId_;
        auto* timer = new QTimer(&owner_);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setSingleShot(!repeats);
        timer->setInterval(int(std::lround(std::max(0.0, seconds) * 1000.0)));
        QObject::connect(timer, &QTimer::timeout, timer,
                         [this, id, repeats, task = std::move(task)] {
                             if (!timers_.contains(id))
                                 return;
                             if (!repeats)
                                 forget(id);
                             task();
                         });
        timers_.insert(id, timer);
        timer->start();
        return id;
    }

    void cancel(TaskId id) override { forget(id); }

    double now() const override { return double(clock_.nsecsElapsed()) / 1e9; }

private:
    void forget(TaskId id) {
        if (QTimer* timer = timers_.take(id)) {
            timer->stop();
            timer->deleteLater();
        }
    }

    QObject owner_;
    QElapsedTimer clock_ = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    QHash<TaskId, QTimer*> timers_;
    TaskId lastId_ = 0;
};

// Listing threads read the clock too, for the dates of their cache records.
std::atomic<Scheduler*> installed{nullptr};

} // namespace

Scheduler& Scheduler::shared() {
    // Never destroyed: timers may still be cancelled while the process ends.
    static Scheduler* real = new QtScheduler;
    Scheduler* test = installed.load();
    return test ? *test : *real;
}

void Scheduler::setShared(Scheduler* scheduler) {
    installed = scheduler;
}
