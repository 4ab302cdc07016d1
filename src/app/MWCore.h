#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// The maker's shared application services, as far as this program uses them.
// On Linux there is no welcome window and no rating prompt (the software comes
// from the package manager), so the main windows may always show.

class MWCConfig {
public:
    void setAppStoreID(const QString& id) { appStoreID_ = id; }
    void setShowsRunAtLoginButton(bool shows) { showsRunAtLoginButton_ = shows; }
    void setAppRunsAtLogin(bool runs) { appRunsAtLogin_ = runs; }
    void setIsAppStore(bool isAppStore) { isAppStore_ = isAppStore; }
    QString appStoreID() const { return appStoreID_; }
    bool showsRunAtLoginButton() const { return showsRunAtLoginButton_; }
    bool appRunsAtLogin() const { return appRunsAtLogin_; }
    bool isAppStore() const { return isAppStore_; }

private:
    QString appStoreID_;
    bool showsRunAtLoginButton_ = false;
    bool appRunsAtLogin_ = false;
    bool isAppStore_ = false;
};

class MWCore : public QObject {
    Q_OBJECT
public:
    static MWCore& sharedInstance();

    // Taken once; a second configuration is logged and ignored.
    void applicationDidLaunchWithConfig(const MWCConfig& config);
    const std::optional<MWCConfig>& config() const { return config_; }

    // NO only while a window of the services must stay in front; there is none.
    bool canShowMainWindow() const { return !welcomeWindowVisible_; }
    // Bring the services' own windows forward: there are none to bring.
    void showWindow() {}
    void showAnyVisibleWindows() {}

private:
    std::optional<MWCConfig> config_;
    bool welcomeWindowVisible_ = false;
};

namespace MWCHappinessManager {
inline bool ratingWindowIsVisible() {
    return false;
}
} // namespace MWCHappinessManager

// The names the services publish, in their table's order; the program observes
// the first, second and fourth.
namespace MWCWelcomeNotifications {
inline const QString welcomeWindowDidOpen = QStringLiteral("MWCWelcomeWindowDidOpenNotification");
inline const QString welcomeWindowDidClose = QStringLiteral("MWCWelcomeWindowDidCloseNotification");
inline const QString welcomeWindowWillClose =
    QStringLiteral("MWCWelcomeWindowWillCloseNotification");
inline const QString runAtLoginDidChange = QStringLiteral("MWCRunAtLoginDidChangeNotification");
inline const QString enabledKey = QStringLiteral("enabled");
inline QStringList table() {
    return {welcomeWindowDidOpen, welcomeWindowDidClose, welcomeWindowWillClose,
            runAtLoginDidChange};
}
} // namespace MWCWelcomeNotifications
