#pragma once

#include <QObject>
#include <QSettings>
#include <QVariant>
#include <QVariantMap>
#include <memory>

// The per-user defaults store: a persistent map from keys to property-list values
// (booleans, integers, strings, data) with registered defaults held in memory.
// Every write reaches the disk before the call returns, so a crash right after a
// change loses nothing; the file is replaced atomically.
class DefaultsStore : public QObject {
    Q_OBJECT
public:
    // The store at the standard place under the XDG config folder.
    DefaultsStore();
    explicit DefaultsStore(const QString& filePath);
    ~DefaultsStore() override;

    QString filePath() const;

    void registerDefaults(const QVariantMap& defaults);

    // The stored value, else the registered default, else an invalid QVariant.
    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QByteArray dataForKey(const QString& key) const;
    bool hasStoredValue(const QString& key) const;

    void setObject(const QString& key, const QVariant& value);
    void setBool(const QString& key, bool value) { setObject(key, value); }
    void setInteger(const QString& key, qint64 value) { setObject(key, value); }
    void removeObject(const QString& key);

    // Writes pending changes; answers whether the file could be written.
    bool synchronize();

Q_SIGNALS:
    void willChangeValueForKey(const QString& key);
    void didChangeValueForKey(const QString& key);

private:
    std::unique_ptr<QSettings> settings_;
    QVariantMap registered_;
};
