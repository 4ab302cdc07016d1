#include "manage/MWNavigationController.h"

#include "manage/MWSubviews.h"
#include "platform/SystemLog.h"
#include "toolkit/MWWindowController.h"
#include "toolkit/MWWindowHelpers.h"

#include <QStringList>
#include <cmath>

namespace {
constexpr double frameSeconds = 1.0 / 60.0;

QString describe(const MWViewController* controller) {
    if (!controller)
        return QStringLiteral("(null)");
    return QStringLiteral("<%1: 0x%2>")
        .arg(QString::fromLatin1(controller->metaObject()->className()))
        .arg(quintptr(controller), 0, 16);
}

QString describe(const std::vector<MWNavigationController::ControllerPtr>& stack) {
    QStringList entries;
    for (const auto& controller : stack)
        entries << describe(controller.get());
    return QStringLiteral("(") + entries.join(QStringLiteral(", ")) + QStringLiteral(")");
}
} // namespace

MWNavigationController::MWNavigationController() = default;

MWNavigationController::~MWNavigationController() {
    for (Scheduler::TaskId id : queued_)
        Scheduler::shared().cancel(id);
    if (transition_)
        Scheduler::shared().cancel(transition_->frames);
}

void MWNavigationController::setIsVisible(bool visible) {
    isVisible_ = visible;
    for (const auto& controller : viewControllerStack_)
        controller->setMw_isVisible(visible);
}

MWWindowController* MWNavigationController::windowController() const {
    return static_cast<MWWindowController*>(windowController_.data());
}

void MWNavigationController::setWindowController(MWWindowController* controller) {
    windowController_ = controller;
}

QWidget* MWNavigationController::window() const {
    if (MWWindowController* controller = windowController())
        return controller->window();
    return window_;
}

void MWNavigationController::setViewControllers(const std::vector<ControllerPtr>& controllers,
                                                bool animated) {
    viewControllerStack_ = controllers;
    for (const auto& controller : viewControllerStack_)
        controller->setNavigationController(this);
    if (!viewControllerStack_.empty())
        setCurrentViewController(viewControllerStack_.back(), animated, false);
}

void MWNavigationController::setViewControllers(const std::vector<ControllerPtr>& controllers) {
    setViewControllers(controllers, true);
}

void MWNavigationController::setCurrentViewController(const ControllerPtr& controller) {
    setCurrentViewController(controller, true, false);
}

void MWNavigationController::queue(std::function<void()> step) {
    auto id = std::make_shared<Scheduler::TaskId>(0);
    *id = Scheduler::shared().schedule(0, false, [this, id, step = std::move(step)] {
        std::erase(queued_, *id);
        step();
    });
    queued_.push_back(*id);
}

void MWNavigationController::pushViewController(const ControllerPtr& controller, bool animated) {
    queue([this, controller, animated] {
        controller->setNavigationController(this);
        viewControllerStack_.push_back(controller);
        setCurrentViewController(controller, animated, false);
    });
}

MWNavigationController::ControllerPtr
MWNavigationController::popViewControllerAnimated(bool animated) {
    if (viewControllerStack_.size() < 2)
        return nullptr;
    viewControllerStack_.pop_back();
    ControllerPtr top = viewControllerStack_.back();
    queue([this, top, animated] { setCurrentViewController(top, animated, true); });
    return top;
}

MWNavigationController::ControllerPtr
MWNavigationController::popToRootViewControllerAnimated(bool animated) {
    if (viewControllerStack_.empty())
        return nullptr;
    ControllerPtr root = viewControllerStack_.front();
    queue([this, root, animated] {
        viewControllerStack_ = {root};
        setCurrentViewController(root, animated, true);
    });
    return root;
}

int MWNavigationController::indexOf(const MWViewController* controller) const {
    for (size_t i = 0; i < viewControllerStack_.size(); ++i) {
        if (viewControllerStack_[i].get() == controller)
            return int(i);
    }
    return -1;
}

void MWNavigationController::popToController(const MWViewController* controller, bool animated) {
    if (controller == currentViewController_.get()) {
        SystemLog::write(QStringLiteral("View controller is already the top item"));
        return;
    }
    const int index = indexOf(controller);
    if (index < 0) {
        SystemLog::write(QStringLiteral("Could not find in stack: %@"), {describe(controller)});
        SystemLog::write(QStringLiteral("Stack: %@"), {describe(viewControllerStack_)});
        return;
    }
    viewControllerStack_.resize(size_t(index) + 1);
    ControllerPtr target = viewControllerStack_.back();
    queue([this, target, animated] { setCurrentViewController(target, animated, true); });
}

void MWNavigationController::configureViewController(MWViewController* controller) {
    if (MWWindowController* owner = windowController())
        controller->setParentWindowController(owner);
    if (QWidget* host = window())
        controller->setParentWindow(host);
    QWidget* shown = controller->view();
    mw_setAutoresizesWithContainer(shown, true);
    if (view_)
        shown->setGeometry(QRect(QPoint(0, 0), view_->size()));
}

void MWNavigationController::setCurrentViewController(const ControllerPtr& next, bool animated,
                                                      bool isPop) {
    const ControllerPtr previous = currentViewController_;
    if (next == previous || !next)
        return;
    // A switch that comes while the last one still slides lands that one first.
    if (transition_)
        finishTransition();
    const bool animate = animated && previous;

    if (QWidget* host = window()) {
        if (originalMinSize_ == QSize(0, 0))
            originalMinSize_ = host->minimumSize();
        host->setMinimumSize(originalMinSize_);
    }
    configureViewController(next.get());
    if (previous)
        previous->mw_viewWillDisappear();
    next->mw_viewWillAppear();

    if (!previous) {
        if (view_)
            mw_addSubview(view_, next->view());
        next->mw_viewDidAppear();
        currentViewController_ = next;
        return;
    }

    auto completion = [this, previous, next] {
        next->setMw_isVisible(isVisible_);
        previous->mw_viewDidDisappear();
        next->mw_viewDidAppear();
    };
    resizeWindowIfNeededForViewController(next.get(), animate);
    if (animate) {
        startTransition(previous->view(), next->view(), isPop, completion);
        currentViewController_ = next;
        return;
    }
    mw_removeFromSuperview(previous->view());
    if (view_)
        mw_addSubview(view_, next->view());
    currentViewController_ = next;
    completion();
}

void MWNavigationController::startTransition(QWidget* from, QWidget* to, bool fromLeft,
                                             std::function<void()> done) {
    Scheduler& scheduler = Scheduler::shared();
    transition_ = Transition{from, to, fromLeft, scheduler.now(), 0, std::move(done)};
    if (view_ && to)
        mw_addSubview(view_, to);
    placeTransitionViews(0);
    transition_->frames = scheduler.schedule(frameSeconds, true, [this] { stepTransition(); });
}

void MWNavigationController::stepTransition() {
    const double elapsed = Scheduler::shared().now() - transition_->start;
    if (elapsed >= transitionSeconds - 1e-9) {
        finishTransition();
        return;
    }
    placeTransitionViews(elapsed / transitionSeconds);
}

void MWNavigationController::finishTransition() {
    Transition ending = std::move(*transition_);
    transition_.reset();
    Scheduler::shared().cancel(ending.frames);
    if (ending.from) {
        ending.from->move(0, 0);
        mw_removeFromSuperview(ending.from);
    }
    if (ending.to)
        ending.to->move(0, 0);
    ending.completion();
}

void MWNavigationController::placeTransitionViews(double progress) {
    const int width = view_ ? view_->width() : 0;
    // The new view comes in from the side the transition names, the old one leaves
    // on the other, both at the same linear pace.
    const int side = transition_->fromLeft ? -1 : 1;
    if (transition_->to)
        transition_->to->move(int(std::lround(side * width * (1 - progress))), 0);
    if (transition_->from)
        transition_->from->move(int(std::lround(-side * width * progress)), 0);
}

bool MWNavigationController::resizeWindowIfNeededForViewController(MWViewController* controller,
                                                                   bool animated) {
    QWidget* host = window();
    const QSize wanted = controller->viewMinSize();
    if (!host || wanted == QSize(0, 0) || !view_)
        return false;
    const bool containerIsLarger =
        view_->width() > wanted.width() && view_->height() > wanted.height();
    if (!controller->forceResize() && containerIsLarger)
        return false;
    const QRect area = mw_frameInWindow(view_, host);
    const QSize content(wanted.width() + area.x(),
                        wanted.height() + (host->height() - area.height()));
    mw_setContentSize(host, content, animated);
    host->setMinimumSize(content);
    return true;
}
