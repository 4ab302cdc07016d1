#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>

class QApplication;
class QSocketNotifier;
class SingleInstance;

// The callbacks the application object delivers to its delegate.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationWillFinishLaunching() {}
    virtual void applicationDidFinishLaunching() {}
    virtual void applicationDidBecomeActive() {}
    virtual void applicationDidResignActive() {}
    // Launched again while running; the answer says whether the launch was handled.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) {
        Q_UNUSED(hasVisibleWindows);
        return false;
    }
    // Asked to open one of the program's own URLs (quiverlane:...).
    virtual void applicationOpenURL(const QUrl& url) { Q_UNUSED(url); }
    virtual void applicationWillTerminate() {}
};

// The application object: runs the delegate's launch callbacks around Qt's event
// loop and ends the run on quit, SIGTERM or SIGINT, always through
// applicationWillTerminate.
class Application : public QObject {
    Q_OBJECT
public:
    Application(QApplication& qtApplication, ApplicationDelegate& delegate);
    ~Application() override;

    static Application* shared();

    // Launches and runs until termination; answers the exit code.
    int run();
    // Ends the run at once (also from inside the launch callbacks).
    void terminate(int exitCode = 0);
    bool isTerminating() const { return terminating_; }

    // Launches of the program: the first one's arguments, and later ones that
    // `instance` hands over. A quiverlane: URL among them is opened; a launch
    // without one is a reopen.
    void takeLaunchesFrom(SingleInstance& instance, const QStringList& firstArguments);
    void handleLaunch(const QStringList& arguments, bool isFirst = false);

private:
    void finishTermination();
    void readSignal();

    QApplication& qt_;
    ApplicationDelegate& delegate_;
    QSocketNotifier* signalNotifier_ = nullptr;
    bool terminating_ = false;
    bool terminated_ = false;
    int exitCode_ = 0;
    QStringList firstArguments_;
};
