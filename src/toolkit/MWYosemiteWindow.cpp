#include "toolkit/MWYosemiteWindow.h"

MWYosemiteWindow::MWYosemiteWindow(QWidget* parent)
    : QWidget(parent), actualTitleLabel_(new QLabel(this)), actualContentView_(new QWidget(this)) {
    awakeFromNib();
}

void MWYosemiteWindow::awakeFromNib() {
    actualContentView_->setGeometry(0, 0, width(), height());
    actualContentView_->raise();
    actualTitleLabel_->setParent(actualContentView_);
}

void MWYosemiteWindow::setTitle(const QString& title) {
    setWindowTitle(title);
    actualTitleLabel_->setText(title);
}

void MWYosemiteWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    actualContentView_->setGeometry(0, 0, width(), height());
}
