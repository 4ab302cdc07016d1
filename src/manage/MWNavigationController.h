#pragma once

#include "platform/Scheduler.h"
#include "toolkit/MWViewController.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class MWWindowController;

// A stack of view controllers shown one at a time in a container view. Pushing
// slides the new view in from the right, popping from the left. The operations
// that push and pop run their switch a moment later on the main thread, so two
// of them issued together switch in order once the caller has returned.
class MWNavigationController : public QObject {
    Q_OBJECT
public:
    using ControllerPtr = std::shared_ptr<MWViewController>;
    static constexpr double transitionSeconds = 0.15;

    MWNavigationController();
    ~MWNavigationController() override;

    bool isVisible() const { return isVisible_; }
    // Passed on to every controller on the stack.
    void setIsVisible(bool visible);

    MWWindowController* windowController() const;
    void setWindowController(MWWindowController* controller);
    // The window controller's window when there is one, else the window set here.
    QWidget* window() const;
    void setWindow(QWidget* window) { window_ = window; }
    QWidget* view() const { return view_; }
    void setView(QWidget* view) { view_ = view; }

    ControllerPtr currentViewController() const { return currentViewController_; }
    std::vector<ControllerPtr> viewControllers() const { return viewControllerStack_; }
    // The window's minimum size before the first switch; 0 x 0 until recorded.
    QSize originalMinSize() const { return originalMinSize_; }

    void setViewControllers(const std::vector<ControllerPtr>& controllers, bool animated);
    void setViewControllers(const std::vector<ControllerPtr>& controllers);
    void setCurrentViewController(const ControllerPtr& controller);
    void setCurrentViewController(const ControllerPtr& controller, bool animated, bool isPop);

    void pushViewController(const ControllerPtr& controller, bool animated);
    // The new top, at once; null when only the root is left (it is never popped).
    ControllerPtr popViewControllerAnimated(bool animated);
    ControllerPtr popToRootViewControllerAnimated(bool animated);
    void popToController(const MWViewController* controller, bool animated);

    void configureViewController(MWViewController* controller);
    bool resizeWindowIfNeededForViewController(MWViewController* controller, bool animated);

    bool isTransitioning() const { return transition_.has_value(); }

private:
    struct Transition {
        QPointer<QWidget> from;
        QPointer<QWidget> to;
        bool fromLeft;
        double start;
        Scheduler::TaskId frames;
        std::function<void()> completion;
    };

    void queue(std::function<void()> step);
    void startTransition(QWidget* from, QWidget* to, bool fromLeft, std::function<void()> done);
    void stepTransition();
    void finishTransition();
    // The offset of the views at `progress` (0 to 1) across a container `width` wide.
    void placeTransitionViews(double progress);
    int indexOf(const MWViewController* controller) const;

    bool isVisible_ = false;
    QPointer<QObject> windowController_;
    QPointer<QWidget> window_;
    QPointer<QWidget> view_;
    ControllerPtr currentViewController_;
    std::vector<ControllerPtr> viewControllerStack_;
    QSize originalMinSize_{0, 0};
    std::optional<Transition> transition_;
    std::vector<Scheduler::TaskId> queued_;
};
