#include "clipboard/QVSnippetCopier.h"
#include "clipboard/CCSandboxHelper.h"
#include "support/LibraryFixtures.h"
#include "support/ManualScheduler.h"
#include "support/NotificationServer.h"
#include "support/SnippetFolder.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>
#include <optional>

using namespace TestSupport;

namespace {

// Counts the pastes instead of typing into whatever window has the focus.
class RecordingHelper : public CCSandboxHelper {
public:
    using CCSandboxHelper::CCSandboxHelper;
    void pasteDirectlyWithCompletionHandler(std::function<void()>) override { ++pastes; }
    int pastes = 0;
};

class SnippetCopying : public testing::Test {
protected:
    void SetUp() override {
        defaults_->setPasteDirectly(false);
        defaults_->setShowCopiedNotification(false);
        setHelperInstalled(false);
    }
    void TearDown() override { setHelperInstalled(false); }

    void setHelperInstalled(bool installed) {
        if (installed)
            helper_.installAppleScriptIfNeeded();
        else
            QFile::remove(helper_.scriptURL().toLocalFile());
        ASSERT_EQ(helper_.helperIsInstalled(), installed);
    }

    // What another program left on the clipboard.
    static void seedClipboard() {
        auto* data = new QMimeData;
        data->setText("before");
        data->setHtml("<b>before</b>");
        data->setUrls({QUrl::fromLocalFile("/tmp/before.txt")});
        QGuiApplication::clipboard()->setMimeData(data);
    }

    SnippetFolder snippets_;
    SettingsFixture settings_;
    std::unique_ptr<WIUserDefaults> defaults_ = settings_.makeDefaults();
    RecordingHelper helper_{defaults_.get()};
    ManualScheduler scheduler_;
    // The bar: the copier hides it, and with it the application.
    QWidget bar_;
    QVSnippetCopier copier_{[this] { bar_.hide(); }, defaults_.get(), &helper_};
};

using Notices = std::vector<QVSnippetCopier::Notice>;

struct CopyCase {
    const char* name;
    QStringList contents;
    bool pasteDirectly;
    bool helperInstalled;
    bool showCopiedNotification;
    std::optional<QString> copied; // none: the clipboard is left as it was
    Notices notices;
    bool barHides;
    bool pastes;
};

TEST_F(SnippetCopying, CopiesTellsHidesAndPastesAsTheSettingsSay) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "needs a session bus (the test command runs one)";
    NotificationServer server;
    ASSERT_TRUE(server.running());
    const QVSnippetCopier::Notice unable{"Unable to paste directly",
                                         "Could not find the Quiverlane Helper"};
    const QVSnippetCopier::Notice copied{
        "Copied Text Snippet!",
        "You can now paste the snippet by using Command-V or Right Click and Paste."};
    const std::vector<CopyCase> cases = {
        {"two texts", {"A", "B"}, false, false, true, "A\n\nB", {copied}, true, false},
        {"the last without contents",
         {"A", "B", ""},
         false,
         false,
         false,
         "A\n\nB\n\n",
         {},
         true,
         false},
        {"the first without contents",
         {"", "A", "B"},
         false,
         false,
         false,
         "A\n\nB",
         {},
         true,
         false},
        {"none with contents", {"", ""}, true, true, true, std::nullopt, {}, false, false},
        {"direct paste", {"A"}, true, true, true, "A", {}, true, true},
        {"direct paste without the helper",
         {"A"},
         true,
         false,
         true,
         "A",
         {unable, copied},
         true,
         false},
        {"without the helper, untold", {"A"}, true, false, false, "A", {unable}, true, false},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.name);
        defaults_->setPasteDirectly(c.pasteDirectly);
        defaults_->setShowCopiedNotification(c.showCopiedNotification);
        setHelperInstalled(c.helperInstalled);
        seedClipboard();
        bar_.show();
        const size_t shownBefore = server.shownSoFar().size();
        helper_.pastes = 0;

        std::vector<QVTextSnippetFilePtr> snippets;
        for (const QString& text : c.contents)
            snippets.push_back(snippets_.snippet(text));
        copier_.handleTextSnippets(snippets);

        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_TRUE(data);
        if (c.copied) {
            EXPECT_EQ(data->formats(), QStringList({"text/plain"}));
            EXPECT_EQ(data->text(), *c.copied);
        } else {
            EXPECT_EQ(data->text(), "before");
            EXPECT_TRUE(data->hasHtml());
        }
        const std::vector<ShownNotification> shown = server.shownSoFar();
        ASSERT_EQ(shown.size() - shownBefore, c.notices.size());
        for (size_t i = 0; i < c.notices.size(); ++i) {
            EXPECT_EQ(shown[shownBefore + i].title, c.notices[i].title);
            EXPECT_EQ(shown[shownBefore + i].informativeText, c.notices[i].informativeText);
        }
        EXPECT_EQ(!bar_.isVisible(), c.barHides);
        scheduler_.advance(0);
        EXPECT_EQ(helper_.pastes, c.pastes ? 1 : 0);
        bar_.hide();
    }
}

TEST_F(SnippetCopying, ADirectPasteWaitsForTheApplicationToHideThenPastesOnceOnALaterTurn) {
    QWidget manageWindow;
    manageWindow.show();
    bar_.show();
    copier_.pasteDirectly();
    EXPECT_FALSE(bar_.isVisible());
    scheduler_.advance(0);
    EXPECT_EQ(helper_.pastes, 0) << "another window of ours is still up: the application is there";

    // A menu closing is not the application hiding.
    QWidget menu(nullptr, Qt::Popup);
    menu.show();
    menu.hide();
    scheduler_.advance(0);
    EXPECT_EQ(helper_.pastes, 0);

    manageWindow.hide();
    EXPECT_EQ(helper_.pastes, 0) << "not while the application is still hiding";
    scheduler_.advance(0);
    EXPECT_EQ(helper_.pastes, 1);

    manageWindow.show();
    manageWindow.hide();
    scheduler_.advance(0);
    EXPECT_EQ(helper_.pastes, 1) << "the request was used up";
}

TEST_F(SnippetCopying, EveryRequestPastesAtTheNextHiding) {
    QWidget manageWindow;
    manageWindow.show();
    bar_.show();
    copier_.pasteDirectly();
    bar_.show();
    copier_.pasteDirectly();
    manageWindow.hide();
    scheduler_.advance(0);
    EXPECT_EQ(helper_.pastes, 2);
}

} // namespace
