#pragma once

#include <QString>
#include <optional>

// Path-name arithmetic on strings, as the views name files.
namespace PathNames {
QString lastComponent(const QString& path);
// The part after the last dot of the last component; none for ".hidden" names.
QString extension(const QString& name);
QString deletingExtension(const QString& name);
} // namespace PathNames

// The destination of an alias file, following chains of aliases: the path itself
// when it is not an alias, nothing when the chain does not resolve.
std::optional<QString> mw_resolveAliasFile(const QString& path);
