#include "app/AppDelegate.h"

#include "app/WIUserDefaults.h"
#include "bar/MTStatusItem.h"
#include "bar/QVBookmarksWindowController.h"
#include "library/QVGroupManager.h"
#include "platform/Alert.h"
#include "platform/Workspace.h"

const QUrl AppDelegate::supportPage(QStringLiteral("https://marrowick.com/quiverlane/support"));

AppDelegate::AppDelegate(WIUserDefaults& defaults) : defaults_(defaults) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    // The tray icon and the bar of groups and shortcuts under it.
    statusItem_ = std::make_unique<MTStatusItem>();
    mainWindowController_ = MWWindowController::controller<QVBookmarksWindowController>();
    mainWindowController_->window();
    mainWindowController_->setStatusItem(statusItem_.get());
}

void AppDelegate::applicationWillFinishLaunching() {
    if (!defaults_.loadGroupData()) {
        showLoadFailureAlertAndQuit();
        return;
    }
    libraryLoaded_ = true;
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
