#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

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
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
