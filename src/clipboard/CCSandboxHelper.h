#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;
class WIUserDefaults;

// Knows where the direct-paste script lives and pastes with it. The Quiverlane
// Helper, an outside program, may leave the script there too and then announce
// itself with a URL of our scheme whose host is "helperwasinstalled".
//
// On Linux the script is not run: the file only says that direct paste was set
// up, and the paste itself is Ctrl+V sent as a key stroke to the window in front.
class CCSandboxHelper : public QObject {
    Q_OBJECT
public:
    static const QString scriptFileName;
    // Command-V through the system's scripting of key strokes, as the helper writes it.
    static const QString scriptText;

    static CCSandboxHelper& sharedHelper();
    // The settings are the standard ones unless given.
    explicit CCSandboxHelper(WIUserDefaults* defaults = nullptr);

    QUrl scriptURL() const { return scriptURL_; }

    bool helperIsInstalled() const;
    void installAppleScriptIfNeeded();

    // Presses Ctrl+V in the window that has the focus, when the script file is
    // there; calls `completionHandler` afterwards on the main thread either way.
    virtual void pasteDirectlyWithCompletionHandler(std::function<void()> completionHandler);
    void pasteDirectly() { pasteDirectlyWithCompletionHandler({}); }

    void showHelperInstalledAlertInWindow(QWidget* window);

    // A URL handed to the program (a launch with a URL of our scheme); the text
    // is the URL as given.
    void handleAppleEvent(const QString& directObject);
    void helperWasInstalled();

private:
    void updateScriptPath();
    WIUserDefaults& defaults() const;

    WIUserDefaults* defaults_;
    QUrl scriptURL_;
};
