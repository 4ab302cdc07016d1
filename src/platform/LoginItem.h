#pragma once

#include <QString>

// Starting the program at login: an XDG autostart entry named after the helper's
// identifier that runs this program.
namespace LoginItem {
QString entryPath(const QString& identifier);
// Answers whether the entry now is (or is no longer) in place.
bool setEnabled(const QString& identifier, bool enabled);
bool isEnabled(const QString& identifier);
} // namespace LoginItem
