#pragma once

#include <QList>
#include <QUrl>
#include <functional>

// Showing items selected in the file manager.
namespace FileViewer {
// Asks the file manager over D-Bus (org.freedesktop.FileManager1) to show the
// items selected; without one that answers, opens the folders holding them.
void activateFileViewerSelectingURLs(const QList<QUrl>& urls);

using Revealer = std::function<void(const QList<QUrl>&)>;
void setRevealer(Revealer revealer); // tests watch what would be shown; empty restores
} // namespace FileViewer
