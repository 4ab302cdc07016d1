#pragma once

#include <QUrl>
#include <functional>

// Opening documents and web pages with the desktop's default handlers.
namespace Workspace {
bool openURL(const QUrl& url);

using Opener = std::function<bool(const QUrl&)>;
void setOpener(Opener opener); // tests watch what would be opened; empty restores
} // namespace Workspace
