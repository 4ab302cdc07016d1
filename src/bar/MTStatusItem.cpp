#include "bar/MTStatusItem.h"

#include "library/QVHelpers.h"
#include "platform/ModifierFlags.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemLog.h"
#include "platform/WindowGeometry.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QSystemTrayIcon>
#include <cmath>

const QString MTStatusItem::lengthDidChangeNotification =
    QStringLiteral("MTStatusItemLengthDidChange");

namespace {
constexpr double minimumLength = 24;
// The artwork is drawn at twice the size it takes in the tray.
constexpr double artworkScale = 2.0;
} // namespace

MTStatusItem::MTStatusItem(std::function<bool()> isDarkMode) : isDarkMode_(std::move(isDarkMode)) {
    if (!isDarkMode_)
        isDarkMode_ = &QVHelpers::isDarkMode;
    length_ = minimumLength;
    statusItem_ = new QSystemTrayIcon(this);
    connect(statusItem_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                lastClickFrame_ = QRect(QCursor::pos(), QSize(1, 1));
                watchTrayWindow();
                if (reason == QSystemTrayIcon::Context)
                    rightMouseDown();
                else if (reason == QSystemTrayIcon::Trigger)
                    mouseDown(ModifierFlags::fromQt(QGuiApplication::queryKeyboardModifiers()));
            });
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        SystemLog::write(
            QStringLiteral("No system tray is available: Quiverlane runs without its tray icon"));
    updateDarkModeState();
    currentImage_ = iconImage();
    recalculateLength();
    statusItem_->show();
    watchTrayWindow();
}

void MTStatusItem::watchTrayWindow() {
    // Qt says nothing when the tray moves its icon, but on X11 the icon is a
    // top-level widget of ours embedded in the tray, and its moves reach it. It
    // exists once the tray has taken the icon (at the latest by the first click).
    if (trayWindow_)
        return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QSystemTrayIconSys")) {
            trayWindow_ = window;
            window->installEventFilter(this);
            return;
        }
    }
}

bool MTStatusItem::eventFilter(QObject* watched, QEvent* event) {
    if (watched == trayWindow_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        Q_EMIT frameChanged();
    return QObject::eventFilter(watched, event);
}

MTStatusItem::~MTStatusItem() {
    stopBlinking();
}

void MTStatusItem::setContextMenu(QMenu* menu) {
    if (contextMenu_)
        disconnect(contextMenu_, nullptr, this, nullptr);
    contextMenu_ = menu;
    if (menu)
        connect(menu, &QMenu::aboutToHide, this, &MTStatusItem::menuDidClose);
}

void MTStatusItem::setIconVisible(bool visible) {
    iconVisible_ = visible;
    redraw();
}

void MTStatusItem::setIconColor(int color) {
    iconColor_ = color;
    redraw();
}

void MTStatusItem::setIconState(int state) {
    iconState_ = state;
    redraw();
}

void MTStatusItem::setActive(bool active) {
    active_ = active;
    setIconState(active ? (iconState_ | Active) : (iconState_ & ~Active));
}

void MTStatusItem::setBadge(const QString& badge) {
    badge_ = badge;
    recalculateLength();
}

void MTStatusItem::mouseDown(quint64 modifierFlags) {
    if ((modifierFlags & ModifierFlags::deviceIndependentMask) == ModifierFlags::control) {
        rightMouseDown();
        return;
    }
    if (delegate_ && delegate_->handlesIconClicks())
        delegate_->menuIconWasClicked();
    else
        showMenu();
}

void MTStatusItem::rightMouseDown() {
    showMenu();
}

void MTStatusItem::showMenu() {
    setActive(true);
    if (!delegate_ || !delegate_->answersMenuShouldShow() || !delegate_->menuShouldShow())
        return;
    if (!contextMenu_)
        return;
    const QRect icon = frame();
    contextMenu_->popup(icon.bottomLeft() + QPoint(0, 1));
}

void MTStatusItem::menuDidClose() {
    setActive(false);
}

void MTStatusItem::startBlinking() {
    iconState_ |= Blinking;
    if (!blinkTimer_) {
        QPointer<MTStatusItem> weakSelf(this);
        blinkTimer_ = MWTimer::timerWithInterval(0.8, true, [weakSelf](MWTimer&) {
            if (weakSelf)
                weakSelf->blinkTick();
        });
    }
    redraw();
}

void MTStatusItem::blinkTick() {
    if (!(iconState_ & Active) && (iconState_ & Blinking))
        setIconState(iconState_ ^ BlinkLit);
}

void MTStatusItem::stopBlinking() {
    if (blinkTimer_) {
        blinkTimer_->invalidate();
        blinkTimer_.reset();
    }
    iconState_ &= ~(Blinking | BlinkLit);
}

void MTStatusItem::toggleActive() {
    setIconState(iconState_ ^ Active);
}

void MTStatusItem::updateDarkModeState() {
    const bool dark = isDarkMode_();
    if (dark == bool(iconState_ & DarkMenuBar))
        return;
    iconState_ = dark ? (iconState_ | DarkMenuBar) : (iconState_ & ~DarkMenuBar);
}

QString MTStatusItem::colorKeyForCurrentState() const {
    const bool lit = (iconState_ & Blinking) && (iconState_ & BlinkLit);
    return (iconState_ & Active) || lit ? QStringLiteral("active") : QStringLiteral("normal");
}

QString MTStatusItem::iconImageName() const {
    QString name = QStringLiteral("icon-statusitem-%1").arg(colorKeyForCurrentState());
    if ((iconState_ & DarkMenuBar) && !(iconState_ & Active))
        name += QStringLiteral("-dark");
    return name;
}

QImage MTStatusItem::iconImage() {
    if (!iconVisible_)
        return QImage();
    const QString name = iconImageName();
    auto cached = iconCache_.constFind(name);
    if (cached != iconCache_.constEnd())
        return cached.value();
    QImage image(QStringLiteral(":/images/") + name + QStringLiteral(".png"));
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(artworkScale);
    iconCache_.insert(name, image);
    return image;
}

QRectF MTStatusItem::imageDrawingRect() const {
    if (currentImage_.isNull())
        return QRectF();
    const QSizeF size = currentImage_.deviceIndependentSize();
    const QSizeF b = bounds();
    double x = std::round(b.width() / 2 - size.width() / 2);
    const double y = std::round(b.height() / 2 - size.height() / 2);
    if (!badge_.isEmpty())
        x = 3;
    return QRectF(QPointF(x, y), size);
}

QRectF MTStatusItem::badgeDrawingRect() const {
    if (badge_.isEmpty())
        return QRectF();
    const QFontMetricsF metrics(badgeFontSet_ ? badgeFont_ : QFont());
    const QSizeF text(metrics.horizontalAdvance(badge_), metrics.height());
    const double imageWidth =
        currentImage_.isNull() ? 0 : currentImage_.deviceIndependentSize().width();
    const double x = imageWidth + 6;
    const double y = std::ceil(bounds().height() / 2 - text.height() / 2) + 1;
    // Rounded outward to whole points.
    const double left = std::floor(x), top = std::floor(y);
    return QRectF(left, top, std::ceil(x + text.width()) - left,
                  std::ceil(y + text.height()) - top);
}

void MTStatusItem::recalculateLength() {
    currentImage_ = iconImage();
    double length = minimumLength;
    if (!badge_.isEmpty()) {
        // The badge is laid out against the slot as it is now.
        length = std::max(minimumLength, badgeDrawingRect().right() + 6);
    }
    length = std::round(length);
    const bool changed = length != length_;
    length_ = length;
    if (changed)
        NotificationCenter::defaultCenter().post(lengthDidChangeNotification, this);
    redraw();
}

QImage MTStatusItem::render() {
    updateDarkModeState();
    currentImage_ = iconImage();
    const QSizeF b = bounds();
    QImage canvas(
        QSize(int(std::ceil(b.width() * artworkScale)), int(std::ceil(b.height() * artworkScale))),
        QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(artworkScale);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (active_)
        painter.fillRect(QRectF(QPointF(0, 0), b),
                         QApplication::palette().color(QPalette::Highlight));
    if (!badge_.isEmpty()) {
        const QColor color = (iconState_ & DarkMenuBar) ? badgeColorDark_ : badgeColor_;
        if (color.isValid() && badgeFontSet_) {
            painter.setPen(color);
            painter.setFont(badgeFont_);
        }
        painter.drawText(badgeDrawingRect(), Qt::AlignLeft | Qt::AlignVCenter, badge_);
    }
    if (!currentImage_.isNull())
        painter.drawImage(imageDrawingRect(), currentImage_);
    return canvas;
}

void MTStatusItem::redraw() {
    if (statusItem_)
        statusItem_->setIcon(QIcon(QPixmap::fromImage(render())));
}

QRect MTStatusItem::frame() const {
    if (auto* window = qobject_cast<QWidget*>(trayWindow_.data())) {
        if (const std::optional<QRect> onScreen = WindowGeometry::onScreen(window))
            return *onScreen;
    }
    const QRect tray = statusItem_ ? statusItem_->geometry() : QRect();
    return tray.isValid() && !tray.isEmpty() ? tray : lastClickFrame_;
}
