#include "platform/Workspace.h"

#include <QDesktopServices>

namespace Workspace {
namespace {
Opener& opener() {
    static Opener current;
    return current;
}
} // namespace

void setOpener(Opener o) {
    opener() = std::move(o);
}

bool openURL(const QUrl& url) {
    if (opener())
        return opener()(url);
    return QDesktopServices::openUrl(url);
}
} // namespace Workspace
