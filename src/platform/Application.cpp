#include "platform/Application.h"

#include "platform/SingleInstance.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
Application* current = nullptr;

void forwardSignal(int number) {
    const char byte = char(number);
    [[maybe_unused]] ssize_t written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

Application* Application::shared() {
    return current;
}

Application::Application(QApplication& qtApplication, ApplicationDelegate& delegate)
    : qt_(qtApplication), delegate_(delegate) {
    current = this;
    qt_.setQuitOnLastWindowClosed(false);
    if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0)
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    if (signalPipe[0] >= 0) {
        signalNotifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(signalNotifier_, &QSocketNotifier::activated, this, &Application::readSignal);
        struct sigaction action = {};
        action.sa_handler = forwardSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }
    connect(&qt_, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            delegate_.applicationDidBecomeActive();
        else if (s == Qt::ApplicationInactive)
            delegate_.applicationDidResignActive();
    });
    connect(&qt_, &QCoreApplication::aboutToQuit, this, &Application::finishTermination);
}

Application::~Application() {
    if (current == this)
        current = nullptr;
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
}

void Application::readSignal() {
    char byte = 0;
    [[maybe_unused]] ssize_t got = ::read(signalPipe[0], &byte, 1);
    terminate(0);
}

int Application::run() {
    delegate_.applicationWillFinishLaunching();
    if (terminating_) {
        finishTermination();
        return exitCode_;
    }
    QTimer::singleShot(0, this, [this] {
        if (terminating_)
            return;
        delegate_.applicationDidFinishLaunching();
        handleLaunch(firstArguments_, true);
    });
    const int code = qt_.exec();
    finishTermination();
    return terminating_ ? exitCode_ : code;
}

void Application::takeLaunchesFrom(SingleInstance& instance, const QStringList& firstArguments) {
    firstArguments_ = firstArguments;
    connect(&instance, &SingleInstance::launched, this,
            [this](const QStringList& arguments) { handleLaunch(arguments); });
}

void Application::handleLaunch(const QStringList& arguments, bool isFirst) {
    bool openedURL = false;
    for (const QString& argument : arguments) {
        const QUrl url(argument);
        if (url.scheme() == QStringLiteral("quiverlane")) {
            delegate_.applicationOpenURL(url);
            openedURL = true;
        }
    }
    if (openedURL || isFirst)
        return;
    bool hasVisibleWindows = false;
    for (QWidget* window : QApplication::topLevelWidgets())
        hasVisibleWindows = hasVisibleWindows || window->isVisible();
    delegate_.applicationShouldHandleReopen(hasVisibleWindows);
}

void Application::terminate(int exitCode) {
    if (terminating_)
        return;
    terminating_ = true;
    exitCode_ = exitCode;
    // Also ends any modal loop in progress, such as an alert shown during launch.
    qt_.exit(exitCode);
}

void Application::finishTermination() {
    if (terminated_)
        return;
    terminated_ = true;
    delegate_.applicationWillTerminate();
}
