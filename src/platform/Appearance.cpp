#include "platform/Appearance.h"

#include "platform/Paths.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QSettings>

namespace {
const char* const portalService = "org.freedesktop.portal.Desktop";
const char* const portalPath = "/org/freedesktop/portal/desktop";
const char* const portalInterface = "org.freedesktop.portal.Settings";
const char* const appearanceNamespace = "org.freedesktop.appearance";
const char* const colorSchemeKey = "color-scheme";

// The portal wraps the value in one variant more than its signature says.
QVariant unwrap(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

bool mentionsDark(const QString& text) {
    return text.contains(u"dark", Qt::CaseInsensitive);
}
} // namespace

Appearance& Appearance::shared() {
    static Appearance appearance(QDBusConnection::sessionBus());
    return appearance;
}

Appearance::Appearance(const QDBusConnection& bus, QObject* parent) : QObject(parent) {
    style_ = styleFromDesktopSettings();
    if (!bus.isConnected())
        return;
    QDBusInterface portal(portalService, portalPath, portalInterface, bus);
    portal.setTimeout(1000);
    if (portal.isValid()) {
        QDBusMessage reply =
            portal.call(QStringLiteral("Read"), QString::fromLatin1(appearanceNamespace),
                        QString::fromLatin1(colorSchemeKey));
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            bool ok = false;
            const uint scheme = unwrap(reply.arguments().first()).toUInt(&ok);
            if (ok)
                style_ = styleForColorScheme(scheme);
        }
    }
    QDBusConnection(bus).connect(portalService, portalPath, portalInterface,
                                 QStringLiteral("SettingChanged"), this,
                                 SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
}

QString Appearance::styleForColorScheme(uint scheme) {
    return scheme == 1 ? QStringLiteral("Dark") : QStringLiteral("Light");
}

QString Appearance::styleFromDesktopSettings() {
    if (mentionsDark(qEnvironmentVariable("GTK_THEME")))
        return QStringLiteral("Dark");
    for (const char* file : {"/gtk-4.0/settings.ini", "/gtk-3.0/settings.ini"}) {
        QSettings gtk(Paths::configFolder() + QLatin1String(file), QSettings::IniFormat);
        gtk.beginGroup(QStringLiteral("Settings"));
        if (gtk.value(QStringLiteral("gtk-application-prefer-dark-theme")).toString() == u"1" ||
            gtk.value(QStringLiteral("gtk-application-prefer-dark-theme")).toString() == u"true" ||
            mentionsDark(gtk.value(QStringLiteral("gtk-theme-name")).toString()))
            return QStringLiteral("Dark");
    }
    QSettings kde(Paths::configFolder() + QStringLiteral("/kdeglobals"), QSettings::IniFormat);
    if (mentionsDark(kde.value(QStringLiteral("General/ColorScheme")).toString()))
        return QStringLiteral("Dark");
    return QStringLiteral("Light");
}

void Appearance::portalSettingChanged(const QString& nameSpace, const QString& key,
                                      const QDBusVariant& value) {
    if (nameSpace != QLatin1String(appearanceNamespace) || key != QLatin1String(colorSchemeKey))
        return;
    bool ok = false;
    const uint scheme = unwrap(value.variant()).toUInt(&ok);
    if (ok)
        setStyle(styleForColorScheme(scheme));
}

void Appearance::setStyle(const QString& style) {
    if (style == style_)
        return;
    style_ = style;
    Q_EMIT interfaceStyleChanged();
}
