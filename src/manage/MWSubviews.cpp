#include "manage/MWSubviews.h"

#include <QEvent>
#include <QWidget>

namespace {
const char* const autoresizesProperty = "mw_autoresizesWithContainer";

class AutoresizingFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Resize)
            return false;
        auto* container = static_cast<QWidget*>(watched);
        // Fill rather than grow by the difference: Qt gives no old size for the
        // first resize of a widget that was never shown.
        for (QWidget* view : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (mw_autoresizesWithContainer(view))
                view->resize(container->size());
        }
        return false;
    }
};
} // namespace

void mw_setAutoresizesWithContainer(QWidget* view, bool autoresizes) {
    view->setProperty(autoresizesProperty, autoresizes);
}

bool mw_autoresizesWithContainer(const QWidget* view) {
    return view->property(autoresizesProperty).toBool();
}

void mw_addSubview(QWidget* container, QWidget* view) {
    if (!container->findChild<AutoresizingFilter*>(QString(), Qt::FindDirectChildrenOnly))
        container->installEventFilter(new AutoresizingFilter(container));
    const QRect frame = view->geometry();
    view->setParent(container);
    view->setGeometry(frame);
    view->show();
}

void mw_removeFromSuperview(QWidget* view) {
    if (!view->parentWidget())
        return;
    view->hide();
    view->setParent(nullptr);
}

QRect mw_frameInWindow(const QWidget* view, const QWidget* window) {
    if (!view || !window || !window->isAncestorOf(view))
        return QRect();
    return QRect(view->mapTo(window, QPoint(0, 0)), view->size());
}
