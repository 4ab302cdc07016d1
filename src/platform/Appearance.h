#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>
#include <QString>

// The user's light or dark interface style: the desktop portal's
// org.freedesktop.appearance color-scheme (1 is dark), else the desktop's GTK or
// KDE settings. The portal's change signal stands in for the theme-changed
// notification.
class Appearance : public QObject {
    Q_OBJECT
public:
    static Appearance& shared();
    explicit Appearance(const QDBusConnection& bus, QObject* parent = nullptr);

    // "Dark" or "Light".
    QString interfaceStyle() const { return style_; }
    bool isDarkMode() const { return style_.compare(u"dark", Qt::CaseInsensitive) == 0; }

    // The style named by the desktop's own settings files and GTK_THEME.
    static QString styleFromDesktopSettings();

Q_SIGNALS:
    void interfaceStyleChanged();

private Q_SLOTS:
    void portalSettingChanged(const QString& nameSpace, const QString& key,
                              const QDBusVariant& value);

private:
    static QString styleForColorScheme(uint scheme);
    void setStyle(const QString& style);
    QString style_;
};
