#pragma once

#include <QString>
#include <QUrl>

namespace FileURLs {
// The same URL as QUrl::fromLocalFile for an absolute path, made in about half
// the time for the usual path without a percent sign (one is made per shortcut
// loaded): such a path reads the same in the tolerant mode, which skips the
// escaping of percent signs.
inline QUrl fromPath(const QString& absolutePath) {
    if (!absolutePath.startsWith(u'/'))
        return QUrl::fromLocalFile(absolutePath);
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setPath(absolutePath, absolutePath.contains(u'%') ? QUrl::DecodedMode : QUrl::TolerantMode);
    return url;
}
} // namespace FileURLs
