#pragma once

#include "platform/SystemLog.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace TestSupport {

// Runs the event loop until `done` holds or `timeoutMs` passes; answers `done()`.
inline bool processEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

inline void processEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Collects what is written to the system log while it lives.
class LogCapture {
public:
    LogCapture() {
        previous_ = SystemLog::setSink([this](const QString& line) { lines_.append(line); });
    }
    ~LogCapture() { SystemLog::setSink(previous_); }
    const QStringList& lines() const { return lines_; }
    bool contains(const QString& text) const {
        for (const QString& line : lines_) {
            if (line.contains(text))
                return true;
        }
        return false;
    }

private:
    QStringList lines_;
    SystemLog::Sink previous_;
};

// A temporary folder with helpers to lay files down in it.
class Folder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }
    QString write(const QString& relative, const QByteArray& contents = "x") const;
    QString makeFolder(const QString& relative) const;
    QString link(const QString& relative, const QString& target) const;

private:
    QTemporaryDir dir_;
};

QByteArray readFile(const QString& path);

} // namespace TestSupport
