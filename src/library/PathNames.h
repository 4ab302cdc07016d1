#pragma once

#include <QString>

// Path-name arithmetic on strings, as the views name files.
namespace PathNames {
QString lastComponent(const QString& path);
// The part after the last dot of the last component; none for ".hidden" names.
QString extension(const QString& name);
QString deletingExtension(const QString& name);
} // namespace PathNames
