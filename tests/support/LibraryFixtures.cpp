#include "support/LibraryFixtures.h"

#include "library/LibraryArchive.h"

#include <QUrl>

namespace TestSupport {

SettingsFixture::SettingsFixture() = default;

std::unique_ptr<WIUserDefaults>
SettingsFixture::makeDefaults(WIUserDefaults::LoginItemSetter setter) const {
    return std::make_unique<WIUserDefaults>(std::make_shared<DefaultsStore>(settingsFile()),
                                            std::move(setter));
}

QVFilePtr shortcutTo(const QString& path) {
    auto file = std::make_shared<QVFile>();
    file->setUrl(QUrl::fromLocalFile(path));
    return file;
}

QVFilePtr unarchiveShortcut(const QByteArray& data) {
    registerLibraryArchiveClasses();
    return std::dynamic_pointer_cast<QVFile>(KeyedUnarchiver::unarchiveObject(data));
}

QVGroupPtr groupNamed(const QString& name, std::vector<QVFilePtr> files) {
    auto group = std::make_shared<QVGroup>();
    group->setName(name);
    group->updateFiles(files);
    return group;
}

} // namespace TestSupport
