#include "app/WIUserDefaults.h"
#include "clipboard/CCSandboxHelper.h"
#include "clipboard/QVSnippetCopier.h"
#include "platform/ApplicationWindows.h"
#include "platform/FrontmostWindow.h"
#include "platform/X11Session.h"
#include "support/LibraryFixtures.h"
#include "support/SnippetFolder.h"
#include "support/TestSupport.h"
#include "support/X11Desktop.h"

#include <QProcess>
#include <QUrl>
#include <QWidget>
#include <X11/keysym.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

using namespace TestSupport;

namespace {

// The text field of another program, in a process of its own.
class PasteTarget {
public:
    PasteTarget() {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(QUIVERLANE_PASTE_TARGET), {output_.file("received")});
    }
    ~PasteTarget() {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }

    // Waits until its field has the focus and its window is the active one.
    bool waitUntilInFront() {
        const bool ready = processEventsUntil(
            [this] {
                line_ += process_.readAllStandardOutput();
                return line_.startsWith("ready ") && line_.endsWith('\n');
            },
            10000);
        if (!ready)
            return false;
        window_ = FrontmostWindow::WindowId(line_.mid(6).trimmed().toULong());
        return processEventsUntil([this] { return FrontmostWindow::active() == window_; });
    }
    FrontmostWindow::WindowId window() const { return window_; }
    QString text() const { return QString::fromUtf8(readFile(output_.file("received"))); }

private:
    Folder output_;
    QProcess process_;
    QByteArray line_;
    FrontmostWindow::WindowId window_ = 0;
};

// A key held down on the keyboard, for the life of the object.
class HeldKey {
public:
    explicit HeldKey(xcb_keysym_t keysym) : connection_(xcb_connect(nullptr, nullptr)) {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        code_ = codes ? codes[0] : 0;
        free(codes);
        xcb_key_symbols_free(symbols);
        fake(XCB_KEY_PRESS);
    }
    ~HeldKey() {
        fake(XCB_KEY_RELEASE);
        xcb_disconnect(connection_);
    }
    bool isDown() const {
        xcb_query_keymap_reply_t* keymap =
            xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr);
        const bool down = keymap && (keymap->keys[code_ / 8] & (1 << (code_ % 8)));
        free(keymap);
        return down;
    }

private:
    void fake(uint8_t type) {
        xcb_test_fake_input(connection_, type, code_, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    xcb_connection_t* connection_;
    xcb_keycode_t code_ = 0;
};

// What another program gets when it asks for the clipboard in the form `target`.
QByteArray clipboardAs(const char* target) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t requestor = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, requestor, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const xcb_atom_t property = X11Session::atom("QUIVERLANE_TEST_CLIPBOARD");
    xcb_convert_selection(connection, requestor, X11Session::atom("CLIPBOARD"),
                          X11Session::atom(target), property, XCB_CURRENT_TIME);
    xcb_flush(connection);
    bool answered = false;
    bool converted = false;
    // Our own process owns the clipboard: its event loop has to run to answer.
    processEventsUntil([&] {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_SELECTION_NOTIFY) {
                answered = true;
                converted =
                    reinterpret_cast<xcb_selection_notify_event_t*>(event)->property != XCB_NONE;
            }
            free(event);
        }
        return answered;
    });
    QByteArray data;
    if (converted) {
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 1, requestor, property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16),
                                   nullptr);
        if (reply)
            data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                              xcb_get_property_value_length(reply));
        free(reply);
    }
    xcb_disconnect(connection);
    return data;
}

class DirectPaste : public testing::Test {
protected:
    void SetUp() override {
        if (!onX11())
            GTEST_SKIP() << "needs the X server of the test command";
        ASSERT_TRUE(windowManager_.running()) << "no window manager could be started";
        defaults_->setPasteDirectly(true);
        defaults_->setShowCopiedNotification(false);
        helper_.installAppleScriptIfNeeded();
        ASSERT_TRUE(helper_.helperIsInstalled());
    }

    // The user opens the bar over `target` and clicks two snippets.
    void pasteSnippetsInto(PasteTarget& target) {
        ASSERT_TRUE(target.waitUntilInFront());
        bar_.resize(200, 300);
        ApplicationWindows::activate(&bar_);
        ASSERT_TRUE(processEventsUntil([this] {
            return FrontmostWindow::active() == FrontmostWindow::WindowId(bar_.winId());
        }));
        copier_.handleTextSnippets(
            {snippets_.snippet("Erste Zeile — ünïcode"), snippets_.snippet("second\tline")});
    }

    const QString pasted = QStringLiteral("Erste Zeile — ünïcode\n\nsecond\tline");

    // The pasted text arrives whole, and only once.
    static void expectReceived(const PasteTarget& target, const QString& text) {
        EXPECT_TRUE(processEventsUntil([&] { return target.text() == text; }))
            << "the field holds \"" << target.text().toStdString() << "\"";
        processEventsFor(300);
        EXPECT_EQ(target.text().toStdString(), text.toStdString());
    }

    WindowManager windowManager_;
    SnippetFolder snippets_;
    SettingsFixture settings_;
    std::unique_ptr<WIUserDefaults> defaults_ = settings_.makeDefaults();
    CCSandboxHelper helper_{defaults_.get()};
    QWidget bar_;
    QVSnippetCopier copier_{[] { ApplicationWindows::hideApplication(); }, defaults_.get(),
                            &helper_};
};

TEST_F(DirectPaste, TheSnippetLandsInTheFieldOfTheProgramThatWasInFront) {
    PasteTarget target;
    pasteSnippetsInto(target);
    EXPECT_FALSE(bar_.isVisible());
    expectReceived(target, pasted);
}

TEST_F(DirectPaste, ModifiersTheUserHoldsAreLetGoForThePasteAndPressedAgainAfter) {
    PasteTarget target;
    HeldKey shift(XK_Shift_L);
    ASSERT_TRUE(shift.isDown());
    // With Shift still down the stroke would be Ctrl+Shift+V, which pastes nothing.
    pasteSnippetsInto(target);
    expectReceived(target, pasted);
    EXPECT_TRUE(shift.isDown());
}

TEST_F(DirectPaste, OtherProgramsReadTheCopyAsUtf8Text) {
    defaults_->setPasteDirectly(false);
    copier_.handleTextSnippets({snippets_.snippet("Grüße"), snippets_.snippet("→ two")});
    EXPECT_EQ(clipboardAs("UTF8_STRING").toStdString(), "Grüße\n\n→ two");
}

} // namespace
