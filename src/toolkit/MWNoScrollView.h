#pragma once

#include <QScrollArea>

// A scroll area that the user scrolls only while scrolling is enabled; moving it
// from code works either way.
class MWNoScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit MWNoScrollView(QWidget* parent = nullptr);

    bool scrollingEnabled() const { return scrollingEnabled_; }
    void setScrollingEnabled(bool enabled) { scrollingEnabled_ = enabled; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    bool scrollingEnabled_ = true;
};
