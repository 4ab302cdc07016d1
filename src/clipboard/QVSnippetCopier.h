#pragma once

#include "library/QVTextSnippetFile.h"

#include <QString>
#include <functional>
#include <vector>

class CCSandboxHelper;
class WIUserDefaults;

// Puts the text of snippets (and of colour swatches) on the clipboard, tells the
// user so, and, with direct paste on, pastes it into the window that was in
// front. A window controller that copies owns one and gives it the way to hide
// its window without animation.
class QVSnippetCopier {
public:
    struct Notice {
        QString title;
        QString informativeText;
    };
    static const Notice unableToPasteNotice;
    static const Notice copiedSnippetNotice;
    static const Notice copiedSwatchNotice;

    using HideWindow = std::function<void()>;
    // The settings and the helper are the shared ones unless given.
    explicit QVSnippetCopier(HideWindow hideWindow, WIUserDefaults* defaults = nullptr,
                             CCSandboxHelper* helper = nullptr);

    // Copies the texts of `snippets`, in the order given, and hides the window;
    // snippets without text copy nothing and leave the window open.
    void handleTextSnippets(const std::vector<QVTextSnippetFilePtr>& snippets);
    // The texts of `snippets` as one: two line feeds after each text but the last item's.
    static QString textOfSnippets(const std::vector<QVTextSnippetFilePtr>& snippets);

    // Puts `text` on the clipboard, then pastes it directly or tells the user with
    // `copied`. Answers whether a direct paste was started (which hides the window).
    bool pasteString(const QString& text, const Notice& copied);
    // Hides the window and, once the application has hidden, pastes into the
    // window in front.
    void pasteDirectly();

    // The clipboard then holds `text` as its one item, plain text, and nothing else.
    static void writeToPasteboard(const QString& text);

private:
    WIUserDefaults& defaults() const;
    CCSandboxHelper& helper() const;

    HideWindow hideWindow_;
    WIUserDefaults* defaults_;
    CCSandboxHelper* helper_;
};
