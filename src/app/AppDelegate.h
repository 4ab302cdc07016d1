#pragma once

#include "platform/Application.h"

#include <QObject>
#include <QUrl>

class WIUserDefaults;

// The root of the program: loads the library before anything else touches it and
// saves it when the program ends.
class AppDelegate : public QObject, public ApplicationDelegate {
    Q_OBJECT
public:
    static const QUrl supportPage;

    explicit AppDelegate(WIUserDefaults& defaults);

    void applicationWillFinishLaunching() override;
    void applicationWillTerminate() override;

    bool libraryLoaded() const { return libraryLoaded_; }

private:
    void showLoadFailureAlertAndQuit();

    WIUserDefaults& defaults_;
    bool libraryLoaded_ = false;
};
