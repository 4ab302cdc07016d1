#pragma once

#include "toolkit/MWView.h"

#include <QWidget>
#include <optional>

// The bar's window: frameless, above the desktop's panels, able to take the
// keyboard. Tells its controller of moves and of gaining and losing focus.
class QVWindow : public QWidget {
    Q_OBJECT
public:
    explicit QVWindow(QWidget* parent = nullptr);

    // Whether a press on the window's background (where no view takes the
    // press) drags the whole window.
    bool isMovableByWindowBackground() const { return movable_; }
    void setMovableByWindowBackground(bool movable) { movable_ = movable; }

Q_SIGNALS:
    void windowDidMove();
    void windowDidBecomeKey();
    void windowDidResignKey();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool movable_ = false;
    // Where the press was inside the window, while we move it ourselves.
    std::optional<QPoint> dragOffset_;
};

// The bar's content: square at the top against the panel, rounded at the bottom.
class QVWindowView : public MWView {
    Q_OBJECT
public:
    explicit QVWindowView(QWidget* parent = nullptr);
};
