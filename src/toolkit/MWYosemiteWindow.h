#pragma once

#include <QColor>
#include <QLabel>
#include <QWidget>

// A window for layouts that draw their own title area. The window manager keeps
// its own title bar on Linux, so the title is shown both there and in
// `actualTitleLabel`, and `actualContentView` fills the whole client area.
class MWYosemiteWindow : public QWidget {
    Q_OBJECT
public:
    explicit MWYosemiteWindow(QWidget* parent = nullptr);

    void awakeFromNib();
    QLabel* actualTitleLabel() const { return actualTitleLabel_; }
    QWidget* actualContentView() const { return actualContentView_; }
    QWidget* contentView() const { return actualContentView_; }
    QColor contentBackgroundColor() const { return contentBackgroundColor_; }
    void setTitle(const QString& title);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* actualTitleLabel_;
    QWidget* actualContentView_;
    QColor contentBackgroundColor_;
};
