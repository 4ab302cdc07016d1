#include "app/WIUserDefaults.h"

#include "library/LibraryArchive.h"
#include "platform/LoginItem.h"
#include "platform/SystemLog.h"

namespace {
const QString kIsDocked = QStringLiteral("isDocked");
const QString kHideWindowOnStartup = QStringLiteral("hideWindowOnStartup");
const QString kShowIconInDock = QStringLiteral("showIconInDock");
const QString kFirstLaunch = QStringLiteral("firstLaunch");
const QString kClickAction = QStringLiteral("clickAction");
const QString kShowExtensions = QStringLiteral("showExtensions");
const QString kPasteDirectly = QStringLiteral("pasteDirectly");
const QString kUndockedFrame = QStringLiteral("undockedFrame");
const QString kIsBackgroundApp = QStringLiteral("isBackgroundApp");
const QString kShouldKeepAbove = QStringLiteral("shouldKeepAbove");
const QString kSuppressGroupDeletionAlert = QStringLiteral("suppressGroupDeletionAlert");
const QString kSuppressFileDeletionAlert = QStringLiteral("suppressFileDeletionAlert");
const QString kShowCopiedNotification = QStringLiteral("showCopiedNotification");
const QString kStartAtLogin = QStringLiteral("startAtLogin");
const QString kHotKeyCode = QStringLiteral("hotKeyCode");
const QString kHotKeyModifier = QStringLiteral("hotKeyModifier");
const QString kHotKeyCombo = QStringLiteral("hotKeyCombo");
const QString kGroups = QStringLiteral("groups");
} // namespace

const QString WIUserDefaults::loginHelperIdentifier =
    QStringLiteral("com.marrowick.quiverlanehelper");

WIUserDefaults& WIUserDefaults::standardUserDefaults() {
    static WIUserDefaults defaults(std::make_shared<DefaultsStore>());
    return defaults;
}

std::vector<std::pair<QString, QVariant>> WIUserDefaults::setupDefaults() {
    return {{kIsDocked, true},     {kHideWindowOnStartup, false}, {kShowIconInDock, false},
            {kFirstLaunch, true},  {kClickAction, qint64(0)},     {kShowExtensions, false},
            {kPasteDirectly, true}};
}

WIUserDefaults::WIUserDefaults(std::shared_ptr<DefaultsStore> store,
                               LoginItemSetter loginItemSetter)
    : store_(std::move(store)), loginItemSetter_(std::move(loginItemSetter)) {
    registerLibraryArchiveClasses();
    if (!loginItemSetter_)
        loginItemSetter_ = &LoginItem::setEnabled;
    QVariantMap defaults;
    for (const auto& [key, value] : setupDefaults())
        defaults.insert(key, value);
    store_->registerDefaults(defaults);
    connect(store_.get(), &DefaultsStore::willChangeValueForKey, this,
            &WIUserDefaults::willChangeValueForKey);
    connect(store_.get(), &DefaultsStore::didChangeValueForKey, this,
            &WIUserDefaults::didChangeValueForKey);
    startAtLogin_ = store_->boolForKey(kStartAtLogin);
    hotKeyCombo_.code = store_->integerForKey(kHotKeyCode);
    hotKeyCombo_.flags = quint64(store_->integerForKey(kHotKeyModifier));
}

void WIUserDefaults::setBoolKey(const QString& key, bool value) {
    store_->setBool(key, value);
}

bool WIUserDefaults::isDocked() const {
    return store_->boolForKey(kIsDocked);
}
void WIUserDefaults::setIsDocked(bool value) {
    setBoolKey(kIsDocked, value);
}
bool WIUserDefaults::hideWindowOnStartup() const {
    return store_->boolForKey(kHideWindowOnStartup);
}
void WIUserDefaults::setHideWindowOnStartup(bool value) {
    setBoolKey(kHideWindowOnStartup, value);
}
bool WIUserDefaults::showIconInDock() const {
    return store_->boolForKey(kShowIconInDock);
}
void WIUserDefaults::setShowIconInDock(bool value) {
    setBoolKey(kShowIconInDock, value);
}
bool WIUserDefaults::firstLaunch() const {
    return store_->boolForKey(kFirstLaunch);
}
void WIUserDefaults::setFirstLaunch(bool value) {
    setBoolKey(kFirstLaunch, value);
}
qint64 WIUserDefaults::clickAction() const {
    return store_->integerForKey(kClickAction);
}
void WIUserDefaults::setClickAction(qint64 value) {
    store_->setInteger(kClickAction, value);
}
bool WIUserDefaults::showExtensions() const {
    return store_->boolForKey(kShowExtensions);
}
void WIUserDefaults::setShowExtensions(bool value) {
    setBoolKey(kShowExtensions, value);
}
bool WIUserDefaults::pasteDirectly() const {
    return store_->boolForKey(kPasteDirectly);
}
void WIUserDefaults::setPasteDirectly(bool value) {
    setBoolKey(kPasteDirectly, value);
}
QString WIUserDefaults::undockedFrame() const {
    return store_->stringForKey(kUndockedFrame);
}
void WIUserDefaults::setUndockedFrame(const QString& value) {
    if (value.isNull())
        store_->removeObject(kUndockedFrame);
    else
        store_->setObject(kUndockedFrame, value);
}
bool WIUserDefaults::isBackgroundApp() const {
    return store_->boolForKey(kIsBackgroundApp);
}
void WIUserDefaults::setIsBackgroundApp(bool value) {
    setBoolKey(kIsBackgroundApp, value);
}
bool WIUserDefaults::shouldKeepAbove() const {
    return store_->boolForKey(kShouldKeepAbove);
}
void WIUserDefaults::setShouldKeepAbove(bool value) {
    setBoolKey(kShouldKeepAbove, value);
}
bool WIUserDefaults::suppressGroupDeletionAlert() const {
    return store_->boolForKey(kSuppressGroupDeletionAlert);
}
void WIUserDefaults::setSuppressGroupDeletionAlert(bool value) {
    setBoolKey(kSuppressGroupDeletionAlert, value);
}
bool WIUserDefaults::suppressFileDeletionAlert() const {
    return store_->boolForKey(kSuppressFileDeletionAlert);
}
void WIUserDefaults::setSuppressFileDeletionAlert(bool value) {
    setBoolKey(kSuppressFileDeletionAlert, value);
}
bool WIUserDefaults::showCopiedNotification() const {
    return store_->boolForKey(kShowCopiedNotification);
}
void WIUserDefaults::setShowCopiedNotification(bool value) {
    setBoolKey(kShowCopiedNotification, value);
}

void WIUserDefaults::setStartAtLogin(bool enabled) {
    if (enabled == startAtLogin_)
        return;
    startAtLogin_ = enabled;
    setBoolKey(kStartAtLogin, enabled);
    if (!loginItemSetter_(loginHelperIdentifier, enabled))
        SystemLog::write(
            QStringLiteral("DEBUG: Could not %@ %@ to the login items"),
            {enabled ? QStringLiteral("add") : QStringLiteral("remove"), loginHelperIdentifier});
}

void WIUserDefaults::setHotKeyCombo(const KeyCombo& combo) {
    Q_EMIT willChangeValueForKey(kHotKeyCombo);
    hotKeyCombo_ = combo;
    store_->setInteger(kHotKeyCode, combo.code);
    store_->setInteger(kHotKeyModifier, qint64(combo.flags));
    store_->synchronize();
    Q_EMIT didChangeValueForKey(kHotKeyCombo);
}

void WIUserDefaults::setGroups(const std::vector<QVGroupPtr>& groups) {
    groups_ = groups;
    const std::vector<ArchivablePtr> roots(groups.begin(), groups.end());
    store_->setObject(kGroups, KeyedArchiver::archivedData(roots, ArchiveFormat::Binary));
}

bool WIUserDefaults::loadGroupData() {
    const QVariant stored = store_->objectForKey(kGroups);
    if (!stored.isValid())
        return true;
    try {
        if (stored.typeId() != QMetaType::QByteArray)
            throw ArchiveDecodingError("the stored groups are not data");
        groups_ = KeyedUnarchiver::castAll<QVGroup>(
            KeyedUnarchiver::unarchiveArray(stored.toByteArray()));
        return true;
    } catch (const std::exception& error) {
        SystemLog::write(QStringLiteral("Could not load actions because of error: %@"),
                         {QString::fromStdString(error.what())});
        return false;
    }
}

void WIUserDefaults::observeKey(const QString& key, QObject* context,
                                std::function<void()> observer) {
    connect(this, &WIUserDefaults::didChangeValueForKey, context,
            [key, observer = std::move(observer)](const QString& changed) {
                if (changed == key)
                    observer();
            });
}
