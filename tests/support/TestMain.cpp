#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
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
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
