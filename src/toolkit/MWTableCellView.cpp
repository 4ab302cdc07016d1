#include "toolkit/MWTableCellView.h"

#include "toolkit/MWView.h"

MWTableCellView::MWTableCellView(const QString& identifier, QWidget* parent)
    : QWidget(parent), identifier_(identifier), imageView_(new QLabel(this)),
      textField_(new QLabel(this)) {
    imageView_->setObjectName(QStringLiteral("imageView"));
    textField_->setObjectName(QStringLiteral("textField"));
    imageView_->setAlignment(Qt::AlignCenter);
    textField_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    textField_->setTextFormat(Qt::PlainText);
    // Cells are drawn into rows, never shown on their own.
    setAttribute(Qt::WA_DontShowOnScreen);
    setAttribute(Qt::WA_TranslucentBackground);
}

QColor MWTableCellView::textColor(const QLabel* field) {
    return field->palette().color(QPalette::WindowText);
}

void MWTableCellView::setTextColor(QLabel* field, const QColor& color) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::WindowText, color);
    field->setPalette(palette);
}

void MWTableCellView::awakeFromNib() {
    textColors_.clear();
    for (QLabel* field : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (field != imageView_)
            textColors_.insert(field, textColor(field));
    }
}

void MWTableCellView::setBackgroundStyle(int style) {
    backgroundStyle_ = style;
    for (auto it = textColors_.constBegin(); it != textColors_.constEnd(); ++it)
        setTextColor(it.key(), style == Dark ? QColor(Qt::white) : it.value());
}

MWColorWellTableCellView::MWColorWellTableCellView(const QString& identifier, QWidget* parent)
    : MWTableCellView(identifier, parent), colorWell_(new MWView(this)),
      expandoImageView_(new QLabel(this)) {
    colorWell_->setObjectName(QStringLiteral("colorWell"));
    colorWell_->awakeFromNib();
    colorWell_->setCornerRadius(3);
    expandoImageView_->setObjectName(QStringLiteral("expandoImageView"));
    expandoImageView_->setAlignment(Qt::AlignCenter);
}
