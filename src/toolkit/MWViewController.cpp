#include "toolkit/MWViewController.h"

#include "toolkit/LayoutLoader.h"
#include "toolkit/MWView.h"
#include "toolkit/MWWindowController.h"

#include <QApplication>
#include <QHash>

namespace {
QHash<QString, QString>* layoutCache = nullptr;
}

MWViewController::MWViewController() = default;

MWViewController::~MWViewController() {
    // The controller owns its widgets, wherever they were put; whoever deleted
    // them first leaves the guard empty.
    delete view_.data();
}

void MWViewController::setupXibCacheIfNeeded() {
    static const bool made = [] {
        layoutCache = new QHash<QString, QString>;
        return true;
    }();
    (void)made;
}

QString MWViewController::nibName(const QMetaObject& type) {
    for (const QMetaObject* cls = &type; cls && cls != &MWViewController::staticMetaObject;
         cls = cls->superClass()) {
        const QString name = QString::fromLatin1(cls->className());
        if (LayoutLoader::exists(name))
            return name;
    }
    return QString();
}

QString MWViewController::cachedNibName(const QMetaObject& type) {
    setupXibCacheIfNeeded();
    const QString className = QString::fromLatin1(type.className());
    auto it = layoutCache->constFind(className);
    if (it != layoutCache->constEnd())
        return it.value();
    const QString name = nibName(type);
    if (!name.isEmpty())
        layoutCache->insert(className, name);
    return name;
}

QWidget* MWViewController::view() {
    if (view_)
        return view_;
    QWidget* loaded = layoutName_.isEmpty() ? nullptr : LayoutLoader::load(layoutName_);
    view_ = loaded ? loaded : loadView();
    if (auto* own = qobject_cast<MWView*>(view_.data()))
        own->setViewController(this);
    awakeFromNib();
    return view_;
}

QWidget* MWViewController::loadView() {
    return new MWView;
}

void MWViewController::awakeFromNib() {
    if (viewHasLoaded_)
        return;
    viewHasLoaded_ = true;
    mw_viewDidLoad();
}

QWidget* MWViewController::parentWindow() const {
    if (parentWindow_)
        return parentWindow_;
    if (view_ && (view_->window() != view_.data() || view_->isVisible()))
        return view_->window();
    return QApplication::activeWindow();
}

MWWindowController* MWViewController::parentWindowController() const {
    return static_cast<MWWindowController*>(parentWindowController_.data());
}

void MWViewController::setParentWindowController(MWWindowController* controller) {
    parentWindowController_ = controller;
}
