#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The system log: lines go to the journal through syslog and to standard error.
// Tests install a sink to read what was logged.
namespace SystemLog {

// Substitutes each "%@" in order with the next argument (the texts keep their
// original placeholders so that they stay recognisable in the code).
QString format(const QString& pattern, const QStringList& arguments);

void write(const QString& line);
inline void write(const QString& pattern, const QStringList& arguments) {
    write(format(pattern, arguments));
}

using Sink = std::function<void(const QString&)>;
// Replaces the sink; an empty sink restores the real log. Answers the previous one.
Sink setSink(Sink sink);

} // namespace SystemLog
