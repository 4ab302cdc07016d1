#pragma once

#include "toolkit/MWWindowController.h"

#include <QPoint>

// A popup the bar opens beside one of its rows (a folder's listing, a colour's
// forms). Its opener sets the parent window and controller, the side and the
// anchor, shows it, and closes it with cancel and actuallyHideWindow.
class QVPopupWindowController : public MWWindowController {
    Q_OBJECT
public:
    // Which side of its anchor the popup lies on.
    enum WindowPosition { RightOfAnchor = 0, LeftOfAnchor = 1 };

    int windowPosition() const { return windowPosition_; }
    void setWindowPosition(int position) { windowPosition_ = position; }
    // On screen, where the popup's bottom-left corner goes.
    QPoint anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(QPoint point) { anchorPoint_ = point; }

    // Stops work in flight (a listing being read).
    virtual void cancel() {}
    virtual void actuallyShowWindow(bool) { window()->show(); }
    virtual void actuallyHideWindow(bool) { window()->hide(); }

private:
    int windowPosition_ = RightOfAnchor;
    QPoint anchorPoint_;
};
