#pragma once

#include "app/KeyCombo.h"
#include "library/QVGroup.h"
#include "platform/DefaultsStore.h"

#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Every setting of the program, each stored under its own name, with the hot key
// and the groups.
class WIUserDefaults : public QObject {
    Q_OBJECT
public:
    static const QString loginHelperIdentifier;
    using LoginItemSetter = std::function<bool(const QString& identifier, bool enabled)>;

    static WIUserDefaults& standardUserDefaults();
    explicit WIUserDefaults(std::shared_ptr<DefaultsStore> store,
                            LoginItemSetter loginItemSetter = {});

    // The registered defaults, in the order they are registered.
    static std::vector<std::pair<QString, QVariant>> setupDefaults();

    DefaultsStore& store() { return *store_; }

    bool isDocked() const;
    void setIsDocked(bool value);
    bool hideWindowOnStartup() const;
    void setHideWindowOnStartup(bool value);
    bool showIconInDock() const;
    void setShowIconInDock(bool value);
    bool firstLaunch() const;
    void setFirstLaunch(bool value);
    qint64 clickAction() const;
    void setClickAction(qint64 value);
    bool showExtensions() const;
    void setShowExtensions(bool value);
    bool pasteDirectly() const;
    void setPasteDirectly(bool value);
    QString undockedFrame() const;
    void setUndockedFrame(const QString& value); // a null string removes the key
    bool isBackgroundApp() const;
    void setIsBackgroundApp(bool value);
    bool shouldKeepAbove() const;
    void setShouldKeepAbove(bool value);
    bool suppressGroupDeletionAlert() const;
    void setSuppressGroupDeletionAlert(bool value);
    bool suppressFileDeletionAlert() const;
    void setSuppressFileDeletionAlert(bool value);
    bool showCopiedNotification() const;
    void setShowCopiedNotification(bool value);

    bool startAtLogin() const { return startAtLogin_; }
    void setStartAtLogin(bool enabled);

    KeyCombo hotKeyCombo() const { return hotKeyCombo_; }
    void setHotKeyCombo(const KeyCombo& combo);

    const std::vector<QVGroupPtr>& groups() const { return groups_; }
    void setGroups(const std::vector<QVGroupPtr>& groups);
    bool loadGroupData();

    // Calls `observer` after every change of `key` made through a setter, until
    // `context` is destroyed.
    void observeKey(const QString& key, QObject* context, std::function<void()> observer);

Q_SIGNALS:
    void willChangeValueForKey(const QString& key);
    void didChangeValueForKey(const QString& key);

private:
    void setBoolKey(const QString& key, bool value);

    std::shared_ptr<DefaultsStore> store_;
    LoginItemSetter loginItemSetter_;
    bool startAtLogin_ = false;
    KeyCombo hotKeyCombo_;
    std::vector<QVGroupPtr> groups_;
};
