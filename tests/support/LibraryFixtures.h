#pragma once

#include "app/WIUserDefaults.h"
#include "library/QVFile.h"
#include "library/QVGroup.h"

#include <QTemporaryDir>
#include <memory>

namespace TestSupport {

// A settings store in a file of its own, and a settings object over it.
class SettingsFixture {
public:
    SettingsFixture();
    QString settingsFile() const { return dir_.filePath("Quiverlane.conf"); }
    std::unique_ptr<WIUserDefaults> makeDefaults(WIUserDefaults::LoginItemSetter setter = {}) const;

private:
    QTemporaryDir dir_;
};

QVFilePtr shortcutTo(const QString& path);
// Decodes a shortcut archived on its own, as a relaunch would.
QVFilePtr unarchiveShortcut(const QByteArray& data);
QVGroupPtr groupNamed(const QString& name, std::vector<QVFilePtr> files = {});

} // namespace TestSupport
