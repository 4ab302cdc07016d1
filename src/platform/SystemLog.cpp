#include "platform/SystemLog.h"

#include <QMutex>
#include <cstdio>
#include <syslog.h>

namespace SystemLog {
namespace {
QMutex sinkMutex;
Sink& currentSink() {
    static Sink sink;
    return sink;
}
} // namespace

QString format(const QString& pattern, const QStringList& arguments) {
    QString result;
    result.reserve(pattern.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u'@') {
            result += next < arguments.size() ? arguments[next] : QStringLiteral("(null)");
            ++next;
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

void write(const QString& line) {
    Sink sink;
    {
        QMutexLocker lock(&sinkMutex);
        sink = currentSink();
    }
    if (sink) {
        sink(line);
        return;
    }
    const QByteArray utf8 = line.toUtf8();
    static const bool opened = [] {
        openlog("quiverlane", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    syslog(LOG_NOTICE, "%s", utf8.constData());
    std::fprintf(stderr, "quiverlane: %s\n", utf8.constData());
}

Sink setSink(Sink sink) {
    QMutexLocker lock(&sinkMutex);
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

} // namespace SystemLog
