#pragma once

#include "library/QVGroup.h"

#include <QObject>
#include <vector>

class WIUserDefaults;

// The one store of all groups; the first group is always the pinned group.
class QVGroupManager : public QObject {
    Q_OBJECT
public:
    static const QString groupsDidChangeNotification;

    static QVGroupManager& sharedInstance();
    explicit QVGroupManager(WIUserDefaults& defaults);

    const std::vector<QVGroupPtr>& groups() const { return groups_; }
    std::vector<QVGroupPtr> nonEmptyGroups() const;

    void addGroup(const QVGroupPtr& group);
    void removeGroup(const QVGroupPtr& group);
    void updateGroups(const std::vector<QVGroupPtr>& groups);
    QVFilePtr fileWithPath(const QString& path) const;

    void save() { saveSilently(false); }
    void saveSilently(bool silent);

private:
    void refreshGroups() { groups_ = workingGroupsArray_; }

    WIUserDefaults& defaults_;
    std::vector<QVGroupPtr> groups_;
    std::vector<QVGroupPtr> workingGroupsArray_;
};
