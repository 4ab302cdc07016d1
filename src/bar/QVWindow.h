#pragma once

#include "toolkit/MWView.h"

#include <QWidget>

// The bar's window: frameless, above the desktop's panels, able to take the
// keyboard. Tells its controller of moves and of gaining and losing focus.
class QVWindow : public QWidget {
    Q_OBJECT
public:
    explicit QVWindow(QWidget* parent = nullptr);

Q_SIGNALS:
    void windowDidMove();
    void windowDidBecomeKey();
    void windowDidResignKey();

protected:
    bool event(QEvent* event) override;
};

// The bar's content: square at the top against the panel, rounded at the bottom.
class QVWindowView : public MWView {
    Q_OBJECT
public:
    explicit QVWindowView(QWidget* parent = nullptr);
};
