#include "app/AppDelegate.h"

#include "app/MWCore.h"
#include "app/MWHotKeyHelper.h"
#include "app/WIUserDefaults.h"
#include "bar/MTStatusItem.h"
#include "bar/QVBookmarksWindowController.h"
#include "clipboard/CCSandboxHelper.h"
#include "library/QVGroupManager.h"
#include "manage/WIMainWindowController.h"
#include "platform/Alert.h"
#include "platform/ApplicationWindows.h"
#include "platform/NotificationCenter.h"
#include "platform/TaskbarPresence.h"
#include "platform/UserNotifications.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

const QUrl AppDelegate::supportPage(QStringLiteral("https://marrowick.com/quiverlane/support"));

namespace {
const QString hideFileMenusNotification = QStringLiteral("hideFileMenus");
const QString hideWindowNotification = QStringLiteral("hideWindow");
} // namespace

AppDelegate::AppDelegate(WIUserDefaults& defaults) : defaults_(defaults) {}

AppDelegate::~AppDelegate() {
    NotificationCenter::defaultCenter().removeObserver(this);
    // The registry outlives us: it must not call into a delegate that has gone.
    MWHotKeyHelper& helper = MWHotKeyHelper::sharedHelper();
    if (hotKeyID_ != 0)
        helper.unregisterHotkeyWithID(quint64(hotKeyID_));
    helper.setPressedBlock({});
}

void AppDelegate::applicationWillFinishLaunching() {
    // Nothing to move into place first: the package manager installed the program.
    CCSandboxHelper::sharedHelper().installAppleScriptIfNeeded();
    if (!defaults_.loadGroupData()) {
        showLoadFailureAlertAndQuit();
        return;
    }
    libraryLoaded_ = true;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, MWCWelcomeNotifications::welcomeWindowDidOpen,
                       [this](const Notification&) { welcomeWindowDidOpen(); });
    center.addObserver(this, MWCWelcomeNotifications::welcomeWindowDidClose,
                       [this](const Notification&) { welcomeWindowDidClose(); });
    center.addObserver(this, MWCWelcomeNotifications::runAtLoginDidChange,
                       [this](const Notification& note) {
                           defaults_.setStartAtLogin(
                               note.userInfo.value(MWCWelcomeNotifications::enabledKey).toBool());
                       });
    defaults_.observeKey(QStringLiteral("showIconInDock"), this, [this] { showHideDockIcon(); });
    defaults_.observeKey(QStringLiteral("hotKeyCombo"), this, [this] { updateHotkeys(); });
    center.addObserver(this, QStringLiteral("Notification.openPreferences"),
                       [this](const Notification&) { openSettings(); });
    center.addObserver(this, QStringLiteral("Notification.openEdit"),
                       [this](const Notification&) { openEdit(); });
}

void AppDelegate::applicationDidFinishLaunching() {
    // quiverlane: URLs arrive through applicationOpenURL.
    updateHotkeys();
    showHideDockIcon();
    statusItem_ = std::make_unique<MTStatusItem>();
    mainWindowController_ = MWWindowController::controller<QVBookmarksWindowController>();
    mainWindowController_->window();
    mainWindowController_->setStatusItem(statusItem_.get());
    // Without a notification service the tray says it.
    UserNotifications::setFallback([this](const QString& title, const QString& text) {
        if (statusItem_ && statusItem_->statusItem())
            statusItem_->statusItem()->showMessage(title, text);
    });

    MWCConfig config;
    config.setAppStoreID(QStringLiteral("com.marrowick.quiverlane"));
    config.setShowsRunAtLoginButton(true);
    config.setAppRunsAtLogin(defaults_.startAtLogin());
    config.setIsAppStore(false);
    // No crash reporter, no updater and no application menu on Linux: the package
    // manager brings updates, and the tray menu holds the commands.
    MWCore& core = MWCore::sharedInstance();
    core.applicationDidLaunchWithConfig(config);
    defaults_.setFirstLaunch(false);
    if (core.canShowMainWindow())
        finishLaunchForceShowWindow(false);
}

bool AppDelegate::hasShortcuts() const {
    return !QVGroupManager::sharedInstance().nonEmptyGroups().empty();
}

void AppDelegate::finishLaunchForceShowWindow(bool force) {
    if (force || !defaults_.hideWindowOnStartup())
        showWindow();
    else if (mainWindowController_)
        mainWindowController_->window()->hide();
}

void AppDelegate::showWindow() {
    if (!defaults_.firstLaunch() && hasShortcuts()) {
        mainWindowController_->actuallyShowWindow(false);
        return;
    }
    makePreferencesControllerIfNeeded();
    preferencesWindowController_->showModuleAtRow(WIMainWindowController::IntroModuleRow);
}

void AppDelegate::makePreferencesControllerIfNeeded() {
    if (!preferencesWindowController_) {
        preferencesWindowController_ = MWWindowController::controller<WIMainWindowController>();
        if (mainWindowController_)
            mainWindowController_->setPreferencesWindowController(
                preferencesWindowController_.get());
        connect(preferencesWindowController_.get(), &WIMainWindowController::windowWillClose, this,
                &AppDelegate::preferenceWindowDidClose);
    }
    NotificationCenter::defaultCenter().post(hideFileMenusNotification);
}

void AppDelegate::preferenceWindowDidClose() {
    if (hasShortcuts() && mainWindowController_)
        mainWindowController_->actuallyShowWindow(true);
    else
        ApplicationWindows::hideApplication();
    if (mainWindowController_)
        mainWindowController_->setPreferencesWindowController(nullptr);
    // The window is still closing: its controller goes once that is over.
    if (WIMainWindowController* closing = preferencesWindowController_.release()) {
        disconnect(closing, nullptr, this, nullptr);
        closing->deleteLater();
    }
}

void AppDelegate::welcomeWindowDidOpen() {
    if (mainWindowController_)
        mainWindowController_->window()->hide();
}

void AppDelegate::welcomeWindowDidClose() {
    finishLaunchForceShowWindow(false);
}

void AppDelegate::updateHotkeys() {
    MWHotKeyHelper& helper = MWHotKeyHelper::sharedHelper();
    if (!helper.pressedBlock()) {
        helper.setPressedBlock([this](quint64 identifier) {
            if (qint64(identifier) == hotKeyID_ && mainWindowController_)
                mainWindowController_->menuIconWasClicked();
        });
    }
    if (hotKeyID_ != 0)
        helper.unregisterHotkeyWithID(quint64(hotKeyID_));
    hotKeyID_ = qint64(helper.registerHotKey(defaults_.hotKeyCombo()));
}

void AppDelegate::showHideDockIcon() {
    // The taskbar is the dock here: listed like an application, or kept out like
    // a tray utility.
    TaskbarPresence::setListed(defaults_.showIconInDock());
}

void AppDelegate::applicationDidBecomeActive() {
    if (!hasLaunched_) {
        hasLaunched_ = true;
        return;
    }
    MWCore& core = MWCore::sharedInstance();
    if (core.canShowMainWindow()) {
        if (hasShortcuts()) {
            if (preferencesWindowController_ && preferencesWindowController_->isWindowLoaded() &&
                preferencesWindowController_->window()->isVisible())
                preferencesWindowController_->actuallyShowWindow();
            if (mainWindowController_)
                mainWindowController_->actuallyShowWindow(true);
        } else {
            openEdit();
        }
    } else {
        core.showWindow();
    }
    core.showAnyVisibleWindows();
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
    MWCore& core = MWCore::sharedInstance();
    if (!core.canShowMainWindow()) {
        core.showWindow();
        return false;
    }
    if (preferencesWindowController_ && preferencesWindowController_->isWindowLoaded() &&
        preferencesWindowController_->window()->isVisible())
        preferencesWindowController_->actuallyShowWindow();
    if (hasShortcuts() && mainWindowController_)
        mainWindowController_->actuallyShowWindow(true);
    return false;
}

void AppDelegate::applicationOpenURL(const QUrl& url) {
    CCSandboxHelper::sharedHelper().handleAppleEvent(url.toString());
}

void AppDelegate::applicationDidResignActive() {
    NotificationCenter::defaultCenter().post(
        preferencesWindowController_ ? hideFileMenusNotification : hideWindowNotification);
}

void AppDelegate::openManageWindowAtRow(int row) {
    makePreferencesControllerIfNeeded();
    preferencesWindowController_->showModuleAtRow(row);
}

void AppDelegate::openEdit() {
    openManageWindowAtRow(WIMainWindowController::EditorModuleRow);
}

void AppDelegate::openSettings() {
    if (!MWCore::sharedInstance().canShowMainWindow()) {
        QApplication::beep();
        return;
    }
    openManageWindowAtRow(WIMainWindowController::PreferencesModuleRow);
}

void AppDelegate::openAbout() {
    if (!MWCore::sharedInstance().canShowMainWindow()) {
        QApplication::beep();
        return;
    }
    openManageWindowAtRow(WIMainWindowController::AboutModuleRow);
}

void AppDelegate::showLoadFailureAlertAndQuit() {
    const int choice =
        Alert::runModal({QStringLiteral("Error Loading Bookmarks Database"),
                         QStringLiteral("There was an error loading the Quiverlane database."),
                         {QStringLiteral("Contact Support"), QStringLiteral("Quit")}});
    if (choice == 0)
        Workspace::openURL(supportPage);
    if (Application* app = Application::shared())
        app->terminate(1);
}

void AppDelegate::applicationWillTerminate() {
    // A library that did not load is still on disk as it was: saving now would
    // replace it with an empty one.
    if (libraryLoaded_)
        QVGroupManager::sharedInstance().save();
}
