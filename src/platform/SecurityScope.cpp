#include "platform/SecurityScope.h"

#include <QHash>
#include <QMutex>

namespace SecurityScope {
namespace {
QMutex mutex;
QHash<QString, int>& counts() {
    static QHash<QString, int> perPath;
    return perPath;
}
int total = 0;
} // namespace

void startAccessing(const QString& path) {
    QMutexLocker lock(&mutex);
    ++counts()[path];
    ++total;
}

void stopAccessing(const QString& path) {
    QMutexLocker lock(&mutex);
    auto it = counts().find(path);
    if (it == counts().end())
        return;
    --total;
    if (--it.value() == 0)
        counts().erase(it);
}

int openAccessCount(const QString& path) {
    QMutexLocker lock(&mutex);
    return counts().value(path);
}

int totalOpenAccessCount() {
    QMutexLocker lock(&mutex);
    return total;
}

} // namespace SecurityScope
