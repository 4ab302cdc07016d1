#pragma once

#include <QRect>

class QWidget;

// Views placed in a container the way the Manage window and the navigation
// controller place them: the container has no layout of its own, and a view that
// autoresizes is kept at the container's full size whenever the container changes.
void mw_setAutoresizesWithContainer(QWidget* view, bool autoresizes);
bool mw_autoresizesWithContainer(const QWidget* view);

// Puts `view` into `container` where its geometry says, and shows it.
void mw_addSubview(QWidget* container, QWidget* view);
// Takes `view` out of its container; the view lives on, hidden, for its controller.
void mw_removeFromSuperview(QWidget* view);

// The view's frame in the coordinates of `window`'s content; empty when the view
// is not inside that window.
QRect mw_frameInWindow(const QWidget* view, const QWidget* window);
