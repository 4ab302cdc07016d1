#pragma once

#include <QString>

// Sandbox access has no meaning on Linux: starting and stopping access to a
// location is counted so that the pairing can be checked, and nothing is enforced.
namespace SecurityScope {
void startAccessing(const QString& path);
void stopAccessing(const QString& path);
int openAccessCount(const QString& path);
int totalOpenAccessCount();
} // namespace SecurityScope
