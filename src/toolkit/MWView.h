#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <optional>

struct MWShadow {
    QColor color;
    QPointF offset; // in the widget's own y-down coordinates
};

// A view that draws its own background, border and individually rounded corners.
class MWView : public QWidget {
    Q_OBJECT
public:
    // Corner bits as the view sees itself with y up: the visual top is "top".
    enum Corner { TopLeft = 1, TopRight = 2, BottomRight = 4, BottomLeft = 8, AllCorners = -1 };

    explicit MWView(QWidget* parent = nullptr);

    // A view made from a layout rounds all its corners; one made in code none.
    void awakeFromNib();

    QObject* viewController() const { return viewController_; }
    void setViewController(QObject* controller) { viewController_ = controller; }

    QColor backgroundColor() const { return backgroundColor_; } // invalid: none
    void setBackgroundColor(const QColor& color);
    QImage backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(const QImage& image);
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color) { borderColor_ = color; }
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double width) { borderWidth_ = width; }
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);
    int roundedCorners() const { return roundedCorners_; }
    void setRoundedCorners(int corners);
    const std::optional<MWShadow>& shadow() const { return shadow_; }
    void setShadow(const std::optional<MWShadow>& shadow);
    // The opacity the background image is drawn with.
    double alphaValue() const { return alphaValue_; }
    void setAlphaValue(double alpha);

    virtual QRectF drawingBounds() const { return QRectF(rect()); }
    // The outline of the fill and the border within `bounds`.
    static QPainterPath shape(const QRectF& bounds, int roundedCorners, double radius);

    void drawInto(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Input the view leaves unhandled goes to its controller before its parent.
    bool event(QEvent* event) override;

private:
    bool hasBorder() const { return borderColor_.isValid() && borderWidth_ != 0; }

    QPointer<QObject> viewController_;
    QColor backgroundColor_;
    QImage backgroundImage_;
    QColor borderColor_;
    double borderWidth_ = 0;
    double cornerRadius_ = 0;
    int roundedCorners_ = 0;
    std::optional<MWShadow> shadow_;
    double alphaValue_ = 1.0;
};
