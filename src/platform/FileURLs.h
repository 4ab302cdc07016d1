#pragma once

#include <QString>
#include <QUrl>

namespace FileURLs {
// The same URL as QUrl::fromLocalFile for an absolute path, made without
// rescanning the path for percent signs (it is made once per shortcut loaded).
inline QUrl fromPath(const QString& absolutePath) {
    if (!absolutePath.startsWith(u'/'))
        return QUrl::fromLocalFile(absolutePath);
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setPath(absolutePath, QUrl::DecodedMode);
    return url;
}
} // namespace FileURLs
