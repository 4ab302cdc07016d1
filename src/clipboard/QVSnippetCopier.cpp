#include "clipboard/QVSnippetCopier.h"

#include "app/WIUserDefaults.h"
#include "clipboard/CCSandboxHelper.h"
#include "platform/ApplicationHiding.h"
#include "platform/FrontmostWindow.h"
#include "platform/NotificationCenter.h"
#include "platform/Scheduler.h"
#include "platform/UserNotifications.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

const QVSnippetCopier::Notice QVSnippetCopier::unableToPasteNotice = {
    QStringLiteral("Unable to paste directly"),
    QStringLiteral("Could not find the Quiverlane Helper")};
const QVSnippetCopier::Notice QVSnippetCopier::copiedSnippetNotice = {
    QStringLiteral("Copied Text Snippet!"),
    QStringLiteral("You can now paste the snippet by using Command-V or Right Click and Paste.")};
const QVSnippetCopier::Notice QVSnippetCopier::copiedSwatchNotice = {
    QStringLiteral("Copied Color Swatch!"),
    QStringLiteral(
        "You can now paste the color swatch by using Command-V or Right Click and Paste.")};

namespace {

void deliver(const QVSnippetCopier::Notice& notice) {
    UserNotifications::deliver(notice.title, notice.informativeText);
}

// The window manager gives the focus back a little after it is asked; a key
// stroke sent before that would land in no window.
constexpr double focusPollSeconds = 0.02;
constexpr int focusPolls = 50;

void whenActive(FrontmostWindow::WindowId window, std::function<void()> then) {
    auto polls = std::make_shared<int>(0);
    auto task = std::make_shared<Scheduler::TaskId>();
    *task = Scheduler::shared().schedule(focusPollSeconds, true, [=] {
        if (FrontmostWindow::active() != window && ++*polls < focusPolls)
            return;
        Scheduler::shared().cancel(*task);
        then();
    });
}

// The window that was in front before ours comes back, then gets the paste.
void pasteIntoFrontmost(CCSandboxHelper& helper) {
    const FrontmostWindow::WindowId frontmost = FrontmostWindow::remembered();
    auto paste = [&helper] { helper.pasteDirectly(); };
    if (frontmost == 0 || !FrontmostWindow::activate(frontmost) ||
        FrontmostWindow::active() == frontmost)
        paste();
    else
        whenActive(frontmost, paste);
}

} // namespace

QVSnippetCopier::QVSnippetCopier(HideWindow hideWindow, WIUserDefaults* defaults,
                                 CCSandboxHelper* helper)
    : hideWindow_(std::move(hideWindow)), defaults_(defaults), helper_(helper) {}

WIUserDefaults& QVSnippetCopier::defaults() const {
    return defaults_ ? *defaults_ : WIUserDefaults::standardUserDefaults();
}

CCSandboxHelper& QVSnippetCopier::helper() const {
    return helper_ ? *helper_ : CCSandboxHelper::sharedHelper();
}

QString QVSnippetCopier::textOfSnippets(const std::vector<QVTextSnippetFilePtr>& snippets) {
    QString text;
    for (size_t i = 0; i < snippets.size(); ++i) {
        const QString contents = snippets[i] ? snippets[i]->contents() : QString();
        if (contents.isEmpty())
            continue;
        text += contents;
        if (i + 1 < snippets.size())
            text += QStringLiteral("\n\n");
    }
    return text;
}

void QVSnippetCopier::handleTextSnippets(const std::vector<QVTextSnippetFilePtr>& snippets) {
    const QString text = textOfSnippets(snippets);
    if (text.isEmpty())
        return;
    if (pasteString(text, copiedSnippetNotice))
        return;
    if (hideWindow_)
        hideWindow_();
}

bool QVSnippetCopier::pasteString(const QString& text, const Notice& copied) {
    writeToPasteboard(text);
    if (defaults().pasteDirectly()) {
        if (helper().helperIsInstalled()) {
            pasteDirectly();
            return true;
        }
        deliver(unableToPasteNotice);
    }
    if (defaults().showCopiedNotification())
        deliver(copied);
    return false;
}

void QVSnippetCopier::pasteDirectly() {
    ApplicationHiding::startObserving();
    // Each request waits for the next hiding on its own and forgets itself then.
    auto* observer = new QObject(qApp);
    CCSandboxHelper* helper = &this->helper();
    NotificationCenter::defaultCenter().addObserver(
        observer, ApplicationHiding::didHideNotification,
        [observer, helper](const Notification&) {
            NotificationCenter::defaultCenter().removeObserver(observer);
            observer->deleteLater();
            Scheduler::shared().schedule(0, false, [helper] { pasteIntoFrontmost(*helper); });
        },
        qApp);
    if (hideWindow_)
        hideWindow_();
}

void QVSnippetCopier::writeToPasteboard(const QString& text) {
    auto* data = new QMimeData;
    // Qt's plain text is UTF-8, and on X11 it is offered under the names other
    // programs ask for (UTF8_STRING above all); under "text/plain;charset=utf-8"
    // alone it would be offered only under that name, which most of them never ask for.
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}
