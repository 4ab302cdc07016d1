#include "platform/SecurityScope.h"

#include <QHash>
#include <QMutex>

namespace SecurityScope {
namespace {
// Never destroyed: shortcuts held by other long-lived objects stop their access
// as the process ends.
struct Counts {
    QMutex mutex;
    QHash<QString, int> perPath;
    int total = 0;
};
Counts& state() {
    static Counts* counts = new Counts;
    return *counts;
}
} // namespace

void startAccessing(const QString& path) {
    Counts& c = state();
    QMutexLocker lock(&c.mutex);
    ++c.perPath[path];
    ++c.total;
}

void stopAccessing(const QString& path) {
    Counts& c = state();
    QMutexLocker lock(&c.mutex);
    auto it = c.perPath.find(path);
    if (it == c.perPath.end())
        return;
    --c.total;
    if (--it.value() == 0)
        c.perPath.erase(it);
}

int openAccessCount(const QString& path) {
    Counts& c = state();
    QMutexLocker lock(&c.mutex);
    return c.perPath.value(path);
}

int totalOpenAccessCount() {
    Counts& c = state();
    QMutexLocker lock(&c.mutex);
    return c.total;
}

} // namespace SecurityScope
