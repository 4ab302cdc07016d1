#include "platform/FileIcons.h"

#include "platform/ResourceValues.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QStyle>
#include <gio/gio.h>

namespace FileIcons {
namespace {

void ensureThemeIsSet() {
    static const bool done = [] {
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor")
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)done;
}

GFileInfo* queryInfo(const QString& path, const char* attributes) {
    GFile* file = g_file_new_for_path(FileNames::encode(path).constData());
    GFileInfo* info = g_file_query_info(file, attributes, G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    g_object_unref(file);
    return info;
}

QImage readScaled(const QString& path, QSize pixels) {
    QImageReader reader(path);
    if (!reader.canRead())
        return QImage();
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(size.scaled(pixels, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull() && (image.width() > pixels.width() || image.height() > pixels.height()))
        image = image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

QIcon iconForPath(const QString& path) {
    ensureThemeIsSet();
    if (GFileInfo* info = queryInfo(path, G_FILE_ATTRIBUTE_STANDARD_ICON)) {
        GIcon* icon = g_file_info_get_icon(info);
        if (icon && G_IS_THEMED_ICON(icon)) {
            const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
            for (int i = 0; names && names[i]; ++i) {
                const QString name = QString::fromUtf8(names[i]);
                if (QIcon::hasThemeIcon(name)) {
                    g_object_unref(info);
                    return QIcon::fromTheme(name);
                }
            }
        }
        g_object_unref(info);
    }
    static QFileIconProvider provider;
    return provider.icon(QFileInfo(path));
}

QImage thumbnailForPath(const QString& path, QSize pixels) {
    if (GFileInfo* info = queryInfo(path, G_FILE_ATTRIBUTE_THUMBNAIL_PATH)) {
        const char* thumbnail =
            g_file_info_get_attribute_byte_string(info, G_FILE_ATTRIBUTE_THUMBNAIL_PATH);
        QImage image;
        if (thumbnail)
            image = readScaled(QString::fromUtf8(thumbnail), pixels);
        g_object_unref(info);
        if (!image.isNull())
            return image;
    }
    if (ResourceValues::forPath(path).isDirectory)
        return QImage();
    return readScaled(path, pixels);
}

QImage loadImage(const QString& path) {
    QImageReader reader(path);
    return reader.read();
}

QIcon cautionIcon() {
    ensureThemeIsSet();
    QIcon fallback;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        fallback = app->style()->standardIcon(QStyle::SP_MessageBoxWarning);
    return QIcon::fromTheme(QStringLiteral("dialog-warning"), fallback);
}

} // namespace FileIcons
