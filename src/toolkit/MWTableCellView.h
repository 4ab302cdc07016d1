#pragma once

#include <QColor>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>

class MWView;

// A row's cell: an image and a text field, and whatever else a layout adds. On a
// selected row (the dark background style) its own text fields turn white and
// get their colours back when the row is deselected.
class MWTableCellView : public QWidget {
    Q_OBJECT
public:
    enum BackgroundStyle { Light = 0, Dark = 1 };

    explicit MWTableCellView(const QString& identifier, QWidget* parent = nullptr);

    QString identifier() const { return identifier_; }
    void setIdentifier(const QString& identifier) { identifier_ = identifier; }
    QLabel* imageView() const { return imageView_; }
    QLabel* textField() const { return textField_; }

    // Records the text colour of each text field directly inside the cell.
    void awakeFromNib();
    int backgroundStyle() const { return backgroundStyle_; }
    void setBackgroundStyle(int style);

    // The colour a text field shows now.
    static QColor textColor(const QLabel* field);
    static void setTextColor(QLabel* field, const QColor& color);

private:
    QString identifier_;
    QLabel* imageView_;
    QLabel* textField_;
    int backgroundStyle_ = Light;
    QHash<QLabel*, QColor> textColors_;
};

// The cell of a group: a colour well (or the image, for the pinned group) and an
// image after the text that tells whether the group is open.
class MWColorWellTableCellView : public MWTableCellView {
    Q_OBJECT
public:
    explicit MWColorWellTableCellView(const QString& identifier, QWidget* parent = nullptr);

    MWView* colorWell() const { return colorWell_; }
    QLabel* expandoImageView() const { return expandoImageView_; }

private:
    MWView* colorWell_;
    QLabel* expandoImageView_;
};
