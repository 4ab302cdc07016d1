#pragma once

#include "library/MWTimer.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>

class QSystemTrayIcon;

// Whoever handles the icon's clicks; both operations are optional.
class MTStatusItemDelegate {
public:
    virtual ~MTStatusItemDelegate() = default;
    virtual bool answersMenuShouldShow() const { return false; }
    virtual bool menuShouldShow() { return false; }
    virtual bool handlesIconClicks() const { return false; }
    virtual void menuIconWasClicked() {}
};

// The program's icon in the system tray: draws the tray background (highlighted
// while the bar is up), an icon chosen by state and panel darkness, and a badge,
// into the tray icon at the tray's size.
class MTStatusItem : public QObject {
    Q_OBJECT
public:
    static const QString lengthDidChangeNotification;
    enum IconState { Active = 1, Blinking = 4, DarkMenuBar = 8, BlinkLit = 16 };

    // `isDarkMode` says whether the panel is dark (the user's interface style by default).
    explicit MTStatusItem(std::function<bool()> isDarkMode = {});
    ~MTStatusItem() override;

    QSystemTrayIcon* statusItem() const { return statusItem_; }
    MTStatusItemDelegate* delegate() const { return delegate_; }
    void setDelegate(MTStatusItemDelegate* delegate) { delegate_ = delegate; }
    QMenu* contextMenu() const { return contextMenu_; }
    void setContextMenu(QMenu* menu);

    bool iconVisible() const { return iconVisible_; }
    void setIconVisible(bool visible);
    int iconColor() const { return iconColor_; }
    void setIconColor(int color);
    int iconState() const { return iconState_; }
    void setIconState(int state);
    bool active() const { return active_; }
    void setActive(bool active);
    QString badge() const { return badge_; }
    void setBadge(const QString& badge);
    void setBadgeColor(const QColor& color) { badgeColor_ = color; }
    void setBadgeColorDark(const QColor& color) { badgeColorDark_ = color; }
    void setBadgeFont(const QFont& font) {
        badgeFont_ = font;
        badgeFontSet_ = true;
    }

    // Clicks with the stored form's modifier flags.
    void mouseDown(quint64 modifierFlags);
    void rightMouseDown();
    void showMenu();
    void menuDidClose();

    void startBlinking();
    void stopBlinking();
    void toggleActive();
    void updateDarkModeState();

    QString colorKeyForCurrentState() const;
    QString iconImageName() const;
    QImage iconImage();
    QRectF imageDrawingRect() const;
    QRectF badgeDrawingRect() const;
    void recalculateLength();
    double length() const { return length_; }
    QSizeF bounds() const { return QSizeF(length_, thickness_); }

    // What the tray shows now, at the slot's size.
    QImage render();
    // Where the icon is on screen: the tray's geometry, else where the last click was.
    QRect frame() const;

Q_SIGNALS:
    // The icon moved or changed size in the tray.
    void frameChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchTrayWindow();
    void redraw();
    void blinkTick();

    QSystemTrayIcon* statusItem_ = nullptr;
    QHash<QString, QImage> iconCache_;
    std::shared_ptr<MWTimer> blinkTimer_;
    QImage currentImage_;
    MTStatusItemDelegate* delegate_ = nullptr;
    QPointer<QMenu> contextMenu_;
    bool iconVisible_ = true;
    int iconColor_ = 0;
    int iconState_ = 0;
    bool active_ = false;
    QString badge_;
    QColor badgeColor_;
    QColor badgeColorDark_;
    QFont badgeFont_;
    bool badgeFontSet_ = false;
    double length_ = 0;
    double thickness_ = 22;
    QRect lastClickFrame_;
    QPointer<QObject> trayWindow_;
    std::function<bool()> isDarkMode_;
};
