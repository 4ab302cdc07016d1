#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

// Icons of files as the desktop shows them.
namespace FileIcons {
// GIO's icon of the file (its content type's themed icon names) through the icon
// theme; Qt's own file icons where the theme has none of them.
QIcon iconForPath(const QString& path);
// The freedesktop thumbnail cache, then the file itself when Qt reads it as an
// image, scaled to fit `pixels`; a null image otherwise.
QImage thumbnailForPath(const QString& path, QSize pixels);
QImage loadImage(const QString& path);
// The theme's warning icon.
QIcon cautionIcon();
} // namespace FileIcons
