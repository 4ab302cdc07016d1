#pragma once

#include "platform/Application.h"

#include <QObject>
#include <QUrl>
#include <memory>

class MTStatusItem;
class QVBookmarksWindowController;
class WIUserDefaults;

// The root of the program: loads the library before anything else touches it and
// saves it when the program ends.
class AppDelegate : public QObject, public ApplicationDelegate {
    Q_OBJECT
public:
    static const QUrl supportPage;

    explicit AppDelegate(WIUserDefaults& defaults);
    ~AppDelegate() override;

    void applicationWillFinishLaunching() override;
    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;

    bool libraryLoaded() const { return libraryLoaded_; }
    MTStatusItem* statusItem() const { return statusItem_.get(); }
    QVBookmarksWindowController* mainWindowController() const { return mainWindowController_.get(); }

private:
    void showLoadFailureAlertAndQuit();

    WIUserDefaults& defaults_;
    bool libraryLoaded_ = false;
    std::unique_ptr<MTStatusItem> statusItem_;
    std::unique_ptr<QVBookmarksWindowController> mainWindowController_;
};
