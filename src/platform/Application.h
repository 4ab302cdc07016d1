#pragma once

#include <QObject>

class QApplication;
class QSocketNotifier;

// The callbacks the application object delivers to its delegate.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationWillFinishLaunching() {}
    virtual void applicationDidFinishLaunching() {}
    virtual void applicationDidBecomeActive() {}
    virtual void applicationDidResignActive() {}
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

private:
    void finishTermination();
    void readSignal();

    QApplication& qt_;
    ApplicationDelegate& delegate_;
    QSocketNotifier* signalNotifier_ = nullptr;
    bool terminating_ = false;
    bool terminated_ = false;
    int exitCode_ = 0;
};
