#include "platform/Applications.h"

#include "platform/FrontmostWindow.h"
#include "platform/X11Session.h"

#include <QFileInfo>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>

namespace {
Applications*& installed() {
    static Applications* current = nullptr;
    return current;
}

template <typename T> struct GUnref {
    void operator()(T* object) const {
        if (object)
            g_object_unref(object);
    }
};
template <typename T> using GRef = std::unique_ptr<T, GUnref<T>>;

struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};
using GString_ = std::unique_ptr<char, GFree>;

QUrl locationOf(GAppInfo* info) {
    if (!info || !G_IS_DESKTOP_APP_INFO(info))
        return {};
    const char* file = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info));
    return file ? QUrl::fromLocalFile(QString::fromUtf8(file)) : QUrl();
}

// Local files are handled by their content type, other locations by their scheme.
QString contentTypeOf(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    GRef<GFile> file(g_file_new_for_path(url.toLocalFile().toUtf8().constData()));
    GRef<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    const char* type = info ? g_file_info_get_content_type(info.get()) : nullptr;
    return type ? QString::fromUtf8(type) : QString();
}

GAppInfo* defaultFor(const QUrl& url) {
    if (url.isLocalFile()) {
        const QString type = contentTypeOf(url);
        return type.isEmpty() ? nullptr
                              : g_app_info_get_default_for_type(type.toUtf8().constData(), FALSE);
    }
    return url.scheme().isEmpty()
               ? nullptr
               : g_app_info_get_default_for_uri_scheme(url.scheme().toUtf8().constData());
}

void collectPid(GDesktopAppInfo*, GPid pid, gpointer data) {
    *static_cast<qint64*>(data) = pid;
}

// The top-level windows the window manager lists, each with the process it names.
std::vector<std::pair<xcb_window_t, quint32>> clientWindows() {
    std::vector<std::pair<xcb_window_t, quint32>> windows;
    xcb_connection_t* x = X11Session::connection();
    const xcb_atom_t list = X11Session::atom("_NET_CLIENT_LIST");
    const xcb_atom_t pidAtom = X11Session::atom("_NET_WM_PID");
    if (!x || list == XCB_NONE || pidAtom == XCB_NONE)
        return windows;
    auto* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, X11Session::root(), list, XCB_ATOM_WINDOW, 0, 4096), nullptr);
    if (!reply)
        return windows;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_window_t));
    for (int i = 0; i < count; ++i) {
        auto* pid = xcb_get_property_reply(
            x, xcb_get_property(x, 0, ids[i], pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        if (pid && xcb_get_property_value_length(pid) == 4)
            windows.emplace_back(ids[i], *static_cast<const quint32*>(xcb_get_property_value(pid)));
        free(pid);
    }
    free(reply);
    return windows;
}
} // namespace

Applications& Applications::shared() {
    static Applications real;
    return installed() ? *installed() : real;
}

void Applications::setShared(Applications* applications) {
    installed() = applications;
}

bool Applications::isApplication(const QUrl& url) const {
    const QString suffix = QFileInfo(url.path()).suffix();
    return suffix == u"app" || suffix == u"desktop";
}

QUrl Applications::applicationToOpen(const QUrl& url) const {
    GRef<GAppInfo> info(defaultFor(url));
    return locationOf(info.get());
}

std::vector<QUrl> Applications::applicationsToOpen(const QUrl& url) const {
    GList* all = nullptr;
    if (url.isLocalFile()) {
        const QString type = contentTypeOf(url);
        if (!type.isEmpty())
            all = g_app_info_get_all_for_type(type.toUtf8().constData());
    } else if (!url.scheme().isEmpty()) {
        const QByteArray type = "x-scheme-handler/" + url.scheme().toUtf8();
        all = g_app_info_get_all_for_type(type.constData());
    }
    std::vector<QUrl> locations;
    for (GList* entry = all; entry; entry = entry->next) {
        const QUrl location = locationOf(G_APP_INFO(entry->data));
        if (!location.isEmpty())
            locations.push_back(location);
    }
    g_list_free_full(all, g_object_unref);
    return locations;
}

bool Applications::isFileManager(const QUrl& application) const {
    GRef<GAppInfo> folders(g_app_info_get_default_for_type("inode/directory", FALSE));
    const QUrl fileManager = locationOf(folders.get());
    return !fileManager.isEmpty() && fileManager == application;
}

qint64 Applications::launch(const QUrl& application, const std::vector<QUrl>& documents) {
    if (!application.isLocalFile())
        return 0;
    GRef<GDesktopAppInfo> info(
        g_desktop_app_info_new_from_filename(application.toLocalFile().toUtf8().constData()));
    if (!info)
        return 0;
    GList* uris = nullptr;
    std::vector<QByteArray> encoded;
    encoded.reserve(documents.size());
    for (const QUrl& document : documents) {
        encoded.push_back(document.toEncoded());
        uris = g_list_append(uris, encoded.back().data());
    }
    GRef<GAppLaunchContext> context(g_app_launch_context_new());
    qint64 pid = 0;
    const gboolean launched = g_desktop_app_info_launch_uris_as_manager(
        info.get(), uris, context.get(), G_SPAWN_SEARCH_PATH, nullptr, nullptr, collectPid, &pid,
        nullptr);
    g_list_free(uris);
    return launched ? pid : 0;
}

void Applications::activate(qint64 pid) {
    for (const auto& [window, owner] : clientWindows()) {
        if (owner == pid)
            FrontmostWindow::activate(window);
    }
}

QIcon Applications::icon(const QUrl& application) const {
    if (!application.isLocalFile())
        return {};
    GRef<GDesktopAppInfo> info(
        g_desktop_app_info_new_from_filename(application.toLocalFile().toUtf8().constData()));
    GIcon* icon = info ? g_app_info_get_icon(G_APP_INFO(info.get())) : nullptr;
    if (!icon)
        return {};
    if (G_IS_FILE_ICON(icon)) {
        GString_ path(g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
        return path ? QIcon(QString::fromUtf8(path.get())) : QIcon();
    }
    if (G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); *name;
             ++name) {
            const QIcon themed = QIcon::fromTheme(QString::fromUtf8(*name));
            if (!themed.isNull())
                return themed;
        }
    }
    return {};
}
