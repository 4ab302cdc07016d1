#include "platform/Appearance.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

// The desktop portal's settings interface, served on the test's session bus.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    uint scheme = 0;

public Q_SLOTS:
    QDBusVariant Read(const QString& nameSpace, const QString& key) {
        if (nameSpace != "org.freedesktop.appearance" || key != "color-scheme")
            return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
    }
};

class AppearanceOnTheBus : public testing::Test {
protected:
    void SetUp() override {
        if (!bus.isConnected())
            GTEST_SKIP() << "no session bus (the test command starts one)";
        ASSERT_TRUE(bus.registerObject("/org/freedesktop/portal/desktop", &portal,
                                       QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService("org.freedesktop.portal.Desktop"));
    }
    void TearDown() override {
        bus.unregisterService("org.freedesktop.portal.Desktop");
        bus.unregisterObject("/org/freedesktop/portal/desktop");
    }
    void announce(uint scheme) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged");
        signal << QString("org.freedesktop.appearance") << QString("color-scheme")
               << QVariant::fromValue(QDBusVariant(scheme));
        bus.send(signal);
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal;
};

TEST_F(AppearanceOnTheBus, ReadsThePortalsColourSchemeAndFollowsItsChanges) {
    portal.scheme = 1;
    Appearance dark(bus);
    EXPECT_TRUE(dark.isDarkMode());
    EXPECT_EQ(dark.interfaceStyle(), "Dark");

    portal.scheme = 2; // prefer light
    Appearance appearance(bus);
    EXPECT_FALSE(appearance.isDarkMode());
    QSignalSpy changed(&appearance, &Appearance::interfaceStyleChanged);
    announce(1);
    ASSERT_TRUE(processEventsUntil([&] { return changed.count() == 1; }));
    EXPECT_TRUE(appearance.isDarkMode());
    announce(0);
    ASSERT_TRUE(processEventsUntil([&] { return changed.count() == 2; }));
    EXPECT_FALSE(appearance.isDarkMode());
}

TEST(Appearance, WithoutAPortalTheDesktopSettingsDecide) {
    QDir().mkpath(Paths::configFolder() + "/gtk-3.0");
    QFile settings(Paths::configFolder() + "/gtk-3.0/settings.ini");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\ngtk-theme-name=Adwaita-dark\n");
    settings.close();
    EXPECT_EQ(Appearance::styleFromDesktopSettings(), "Dark");
    QFile::remove(settings.fileName());
    qunsetenv("GTK_THEME");
    EXPECT_EQ(Appearance::styleFromDesktopSettings(), "Light");
}

} // namespace

#include "AppearanceTest.moc"
