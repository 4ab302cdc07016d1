#include "library/QVGroupManager.h"

#include "app/WIUserDefaults.h"
#include "platform/NotificationCenter.h"

const QString QVGroupManager::groupsDidChangeNotification =
    QStringLiteral("QVGroupsDidChangeNotification");

QVGroupManager& QVGroupManager::sharedInstance() {
    static QVGroupManager manager(WIUserDefaults::standardUserDefaults());
    return manager;
}

QVGroupManager::QVGroupManager(WIUserDefaults& defaults) : defaults_(defaults) {
    workingGroupsArray_ = defaults_.groups();
    if (workingGroupsArray_.empty() || !workingGroupsArray_.front()->isPinned()) {
        auto pinned = std::make_shared<QVGroup>();
        pinned->setName(QStringLiteral("Pinned"));
        pinned->setPinned(true);
        workingGroupsArray_.insert(workingGroupsArray_.begin(), pinned);
    }
    refreshGroups();
}

std::vector<QVGroupPtr> QVGroupManager::nonEmptyGroups() const {
    std::vector<QVGroupPtr> result;
    for (const QVGroupPtr& group : groups_) {
        if (group->isPinned() && group->files().empty())
            continue;
        result.push_back(group);
    }
    return result;
}

void QVGroupManager::addGroup(const QVGroupPtr& group) {
    workingGroupsArray_.push_back(group);
    refreshGroups();
}

void QVGroupManager::removeGroup(const QVGroupPtr& group) {
    if (group->isPinned())
        return;
    std::erase(workingGroupsArray_, group);
    refreshGroups();
}

void QVGroupManager::updateGroups(const std::vector<QVGroupPtr>& groups) {
    workingGroupsArray_ = groups;
    refreshGroups();
}

QVFilePtr QVGroupManager::fileWithPath(const QString& path) const {
    for (const QVGroupPtr& group : groups_) {
        for (const QVFilePtr& file : group->files()) {
            if (file->path() == path)
                return file;
        }
    }
    return nullptr;
}

void QVGroupManager::saveSilently(bool silent) {
    defaults_.setGroups(workingGroupsArray_);
    if (!silent)
        NotificationCenter::defaultCenter().post(groupsDidChangeNotification, this);
}
