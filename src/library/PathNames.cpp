#include "library/PathNames.h"

#include "platform/ResourceValues.h"

namespace PathNames {
namespace {
qsizetype extensionDot(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1)
        return -1;
    return dot;
}
} // namespace

QString lastComponent(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    if (trimmed == u"/")
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

QString extension(const QString& name) {
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString deletingExtension(const QString& name) {
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? name : name.left(dot);
}
} // namespace PathNames

std::optional<QString> mw_resolveAliasFile(const QString& path) { return resolveAliasChain(path); }
