#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>

class MWWindowController;

// The base of every view controller: finds its layout by class name, loads its
// view on first use and runs mw_viewDidLoad exactly once.
class MWViewController : public QObject {
    Q_OBJECT
public:
    MWViewController();
    ~MWViewController() override;

    template <class T> static std::unique_ptr<T> controller() {
        auto made = std::make_unique<T>();
        made->initWithNibName(cachedNibName(T::staticMetaObject));
        return made;
    }
    // The first class from `type` up to (not including) this base that has a
    // layout of its own name; empty when none has.
    static QString nibName(const QMetaObject& type);
    static void setupXibCacheIfNeeded();

    QString layoutName() const { return layoutName_; }
    QWidget* view();
    bool isViewLoaded() const { return view_ != nullptr; }
    // A widget of the view found by its object name (an outlet of the layout).
    template <class W = QWidget> W* outlet(const QString& name) {
        return view()->findChild<W*>(name);
    }

    void awakeFromNib();
    bool mw_viewHasLoaded() const { return viewHasLoaded_; }

    // The stored window, else the window of the view, else the active window.
    QWidget* parentWindow() const;
    void setParentWindow(QWidget* window) { parentWindow_ = window; }
    MWWindowController* parentWindowController() const;
    void setParentWindowController(MWWindowController* controller);
    QObject* navigationController() const { return navigationController_; }
    void setNavigationController(QObject* controller) { navigationController_ = controller; }
    virtual QSize viewMinSize() const { return QSize(0, 0); }
    void setViewMinSize(QSize size) { viewMinSize_ = size; }
    bool forceResize() const { return forceResize_; }
    void setForceResize(bool force) { forceResize_ = force; }
    bool mw_isVisible() const { return isVisible_; }
    void setMw_isVisible(bool visible) { isVisible_ = visible; }

    virtual void mw_viewDidLoad() {}
    virtual void mw_viewWillAppear() {}
    virtual void mw_viewDidAppear() {}
    virtual void mw_viewWillDisappear() {}
    virtual void mw_viewDidDisappear() {}

protected:
    // The view of a controller without a layout.
    virtual QWidget* loadView();
    QSize storedViewMinSize() const { return viewMinSize_; }

private:
    static QString cachedNibName(const QMetaObject& type);
    void initWithNibName(const QString& name) { layoutName_ = name; }

    QString layoutName_;
    QPointer<QWidget> view_;
    bool viewHasLoaded_ = false;
    QPointer<QWidget> parentWindow_;
    QPointer<QObject> parentWindowController_;
    QPointer<QObject> navigationController_;
    QSize viewMinSize_;
    bool forceResize_ = false;
    bool isVisible_ = false;
};
