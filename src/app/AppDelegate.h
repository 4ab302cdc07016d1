#pragma once

#include "platform/Application.h"

#include <QObject>
#include <QUrl>
#include <memory>

class MTStatusItem;
class QVBookmarksWindowController;
class WIMainWindowController;
class WIUserDefaults;

// The root of the program: loads the library before anything else touches it,
// builds the tray icon, the bar and the hot key, decides at launch whether the bar
// or the Manage window comes up, owns the Manage window while it is open, and
// saves the library when the program ends.
class AppDelegate : public QObject, public ApplicationDelegate {
    Q_OBJECT
public:
    static const QUrl supportPage;

    explicit AppDelegate(WIUserDefaults& defaults);
    ~AppDelegate() override;

    void applicationWillFinishLaunching() override;
    void applicationDidFinishLaunching() override;
    void applicationDidBecomeActive() override;
    void applicationDidResignActive() override;
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    void applicationOpenURL(const QUrl& url) override;
    void applicationWillTerminate() override;

    void finishLaunchForceShowWindow(bool force);
    void showWindow();
    void makePreferencesControllerIfNeeded();
    void preferenceWindowDidClose();
    void welcomeWindowDidOpen();
    void welcomeWindowDidClose();
    void updateHotkeys();
    void showHideDockIcon();
    void openEdit();
    void openSettings();
    void openAbout();

    bool libraryLoaded() const { return libraryLoaded_; }
    bool hasLaunched() const { return hasLaunched_; }
    qint64 hotKeyID() const { return hotKeyID_; }
    MTStatusItem* statusItem() const { return statusItem_.get(); }
    QVBookmarksWindowController* mainWindowController() const {
        return mainWindowController_.get();
    }
    WIMainWindowController* preferencesWindowController() const {
        return preferencesWindowController_.get();
    }

private:
    void showLoadFailureAlertAndQuit();
    void openManageWindowAtRow(int row);
    bool hasShortcuts() const;

    WIUserDefaults& defaults_;
    bool libraryLoaded_ = false;
    bool hasLaunched_ = false;
    qint64 hotKeyID_ = 0;
    std::unique_ptr<MTStatusItem> statusItem_;
    std::unique_ptr<QVBookmarksWindowController> mainWindowController_;
    std::unique_ptr<WIMainWindowController> preferencesWindowController_;
};
