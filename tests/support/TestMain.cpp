#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Tests run in parallel, and several serve or miss a well-known name on the
// session bus (a notification service, a file manager): each process gets a bus
// of its own, so that no test sees another's services.
pid_t startPrivateSessionBus() {
    int output[2];
    if (::pipe(output) != 0)
        return -1;
    const pid_t daemon = ::fork();
    if (daemon == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--print-address=1",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(output[1]);
    std::string address;
    char c;
    while (daemon > 0 && ::read(output[0], &c, 1) == 1 && c != '\n')
        address += c;
    ::close(output[0]);
    if (address.empty())
        return -1;
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    return daemon;
}

} // namespace

// Every test process gets XDG folders of its own, so no test reads or writes the
// settings, data or autostart entries of the person running the suite.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The program's resources live in the static library.
    Q_INIT_RESOURCE(resources);
    QTemporaryDir home;
    for (const char* folder : {"config", "data", "cache", "runtime"})
        QDir(home.path()).mkpath(QString::fromLatin1(folder));
    setenv("XDG_CONFIG_HOME", qPrintable(home.filePath("config")), 1);
    setenv("XDG_DATA_HOME", qPrintable(home.filePath("data")), 1);
    setenv("XDG_CACHE_HOME", qPrintable(home.filePath("cache")), 1);
    QFile::setPermissions(home.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_RUNTIME_DIR", qPrintable(home.filePath("runtime")), 1);
    // Tests of the real X11 session run without an X server too (listing them,
    // a run outside the test command): they skip themselves there.
    const char* platform = getenv("QT_QPA_PLATFORM");
    const char* display = getenv("DISPLAY");
    if (platform && strcmp(platform, "xcb") == 0 && (!display || !*display))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const pid_t bus = startPrivateSessionBus();
    int result;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (bus > 0) {
        ::kill(bus, SIGTERM);
        ::waitpid(bus, nullptr, 0);
    }
    return result;
}
