#include "platform/DefaultsStore.h"

#include "platform/Paths.h"
#include "platform/SystemLog.h"

DefaultsStore::DefaultsStore() : DefaultsStore(Paths::settingsFile()) {}

DefaultsStore::DefaultsStore(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

DefaultsStore::~DefaultsStore() {
    synchronize();
}

QString DefaultsStore::filePath() const {
    return settings_->fileName();
}

void DefaultsStore::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        registered_.insert(it.key(), it.value());
}

QVariant DefaultsStore::objectForKey(const QString& key) const {
    QVariant stored = settings_->value(key);
    if (stored.isValid())
        return stored;
    return registered_.value(key);
}

bool DefaultsStore::hasStoredValue(const QString& key) const {
    return settings_->contains(key);
}

bool DefaultsStore::boolForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    // The INI form gives every scalar back as a string.
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == u"true" || text == u"yes")
            return true;
        bool isNumber = false;
        const qint64 number = text.toLongLong(&isNumber);
        return isNumber && number != 0;
    }
    return value.toBool();
}

qint64 DefaultsStore::integerForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == u"true")
            return 1;
        bool isNumber = false;
        const qint64 number = text.toLongLong(&isNumber);
        return isNumber ? number : 0;
    }
    return value.toLongLong();
}

QString DefaultsStore::stringForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    return value.isValid() ? value.toString() : QString();
}

QByteArray DefaultsStore::dataForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void DefaultsStore::setObject(const QString& key, const QVariant& value) {
    if (!value.isValid()) {
        removeObject(key);
        return;
    }
    Q_EMIT willChangeValueForKey(key);
    settings_->setValue(key, value);
    synchronize();
    Q_EMIT didChangeValueForKey(key);
}

void DefaultsStore::removeObject(const QString& key) {
    Q_EMIT willChangeValueForKey(key);
    settings_->remove(key);
    synchronize();
    Q_EMIT didChangeValueForKey(key);
}

bool DefaultsStore::synchronize() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError) {
        SystemLog::write(QStringLiteral("Could not write the settings file %@"),
                         {settings_->fileName()});
        return false;
    }
    return true;
}
