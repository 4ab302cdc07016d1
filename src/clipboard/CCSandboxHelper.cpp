#include "clipboard/CCSandboxHelper.h"

#include "app/WIUserDefaults.h"
#include "platform/Alert.h"
#include "platform/KeyStrokes.h"
#include "platform/Paths.h"
#include "platform/Scheduler.h"
#include "platform/SystemLog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

const QString CCSandboxHelper::scriptFileName = QStringLiteral("Quiverlane Helper.scpt");
const QString CCSandboxHelper::scriptText =
    QStringLiteral(R"(tell application "System Events" to keystroke "v" using command down)");

namespace {

// QUrl lowers the case of host names, and the helper's host must match exactly.
QString hostAsWritten(const QString& url) {
    static const QRegularExpression authority(
        QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://(?:[^@/?#]*@)?(\\[[^\\]]*\\]|[^:/?#]*)"));
    const QRegularExpressionMatch match = authority.match(url);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

CCSandboxHelper& CCSandboxHelper::sharedHelper() {
    // Lives to the end of the process, past the application object.
    static CCSandboxHelper* helper = new CCSandboxHelper;
    return *helper;
}

CCSandboxHelper::CCSandboxHelper(WIUserDefaults* defaults) : defaults_(defaults) {
    updateScriptPath();
}

WIUserDefaults& CCSandboxHelper::defaults() const {
    return defaults_ ? *defaults_ : WIUserDefaults::standardUserDefaults();
}

void CCSandboxHelper::updateScriptPath() {
    const QString folder = Paths::dataFolder() + QStringLiteral("/Quiverlane/Application Scripts");
    // The helper may be the one to write the file: the folder should be there for
    // it. Whether it could be made shows when the file is written.
    QDir().mkpath(folder);
    scriptURL_ = QUrl::fromLocalFile(folder + QLatin1Char('/') + scriptFileName);
}

bool CCSandboxHelper::helperIsInstalled() const {
    return QFileInfo(scriptURL_.toLocalFile()).isFile();
}

void CCSandboxHelper::installAppleScriptIfNeeded() {
    if (helperIsInstalled())
        return;
    QSaveFile file(scriptURL_.toLocalFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(scriptText.toUtf8()) < 0 || !file.commit())
        SystemLog::write(QStringLiteral("[DEBUG] Could not make script file because of error: %@"),
                         {file.errorString()});
}

void CCSandboxHelper::pasteDirectlyWithCompletionHandler(std::function<void()> completionHandler) {
    // The file stands for the script task: without it there is nothing to run,
    // and, as for a task that cannot be made, nothing is said.
    if (helperIsInstalled()) {
        if (KeyStrokes::available()) {
            KeyStrokes::type(Qt::Key_V, Qt::ControlModifier);
        } else {
            static bool told = false;
            if (!told)
                SystemLog::write(QStringLiteral("Direct paste needs an X11 session with key "
                                                "strokes (XTEST): texts are copied, not pasted"));
            told = true;
        }
    }
    if (completionHandler)
        Scheduler::shared().schedule(0, false, std::move(completionHandler));
}

void CCSandboxHelper::showHelperInstalledAlertInWindow(QWidget*) {
    Alert::runModal({QStringLiteral("Paste Directly Enabled"),
                     QStringLiteral("The Quiverlane Helper application was installed."),
                     {QStringLiteral("Okay")}});
}

void CCSandboxHelper::handleAppleEvent(const QString& directObject) {
    if (!QUrl(directObject, QUrl::StrictMode).isValid())
        return;
    if (hostAsWritten(directObject) == QLatin1String("helperwasinstalled"))
        helperWasInstalled();
}

void CCSandboxHelper::helperWasInstalled() {
    defaults().setPasteDirectly(true);
    showHelperInstalledAlertInWindow(nullptr);
}
