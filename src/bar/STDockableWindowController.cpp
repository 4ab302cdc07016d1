#include "bar/STDockableWindowController.h"

#include "app/MWCore.h"
#include "app/WIUserDefaults.h"
#include "bar/QVWindow.h"
#include "platform/Application.h"
#include "platform/ApplicationWindows.h"
#include "platform/NotificationCenter.h"
#include "platform/Scheduler.h"
#include "toolkit/MWWindowHelpers.h"
#include "toolkit/SavedFrame.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>
#include <optional>

namespace {
// Shared by every path that toggles the bar: the icon, the hot key, Escape.
std::optional<double> previousClickTime;
} // namespace

STDockableWindowController::STDockableWindowController() : toggleDockedAction_(new QAction(this)) {
    connect(toggleDockedAction_, &QAction::triggered, this,
            &STDockableWindowController::toggleDocked);
    updateToggleDockedAction();
}

void STDockableWindowController::updateToggleDockedAction() {
    toggleDockedAction_->setText(docked_ ? QStringLiteral("Float the Bar")
                                         : QStringLiteral("Dock the Bar Under the Icon"));
}

QMenu* STDockableWindowController::defaultContextMenu() {
    if (!defaultContextMenu_) {
        defaultContextMenu_ = new QMenu;
        connect(this, &QObject::destroyed, defaultContextMenu_, &QObject::deleteLater);
        defaultContextMenu_->addAction(toggleDockedAction_);
        defaultContextMenu_->addSeparator();
        defaultContextMenu_->addAction(QStringLiteral("Quit Quiverlane"), [] {
            if (Application* application = Application::shared())
                application->terminate();
        });
    }
    return defaultContextMenu_;
}

STDockableWindowController::~STDockableWindowController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    if (statusItem_ && statusItem_->delegate() == this)
        statusItem_->setDelegate(nullptr);
}

WIUserDefaults& STDockableWindowController::defaults() const {
    return WIUserDefaults::standardUserDefaults();
}

QWidget* STDockableWindowController::loadWindow() {
    auto* bar = new QVWindow;
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* content = new QVWindowView(bar);
    content->setObjectName(QStringLiteral("contentView"));
    // The window itself is clear so that the rounded corners show the desktop.
    content->setBackgroundColor(bar->palette().color(QPalette::Window));
    layout->addWidget(content);
    bar->resize(200, 300);
    return bar;
}

void STDockableWindowController::mw_viewDidLoad() {
    MWWindowController::mw_viewDidLoad();
    canHide_ = true;
    QWidget* bar = window();
    bar->setWindowOpacity(0);
    bar->hide();
    if (auto* qvWindow = qobject_cast<QVWindow*>(bar)) {
        connect(qvWindow, &QVWindow::windowDidMove, this,
                &STDockableWindowController::windowDidMove);
        connect(qvWindow, &QVWindow::windowDidBecomeKey, this,
                &STDockableWindowController::windowDidBecomeKey);
        connect(qvWindow, &QVWindow::windowDidResignKey, this,
                &STDockableWindowController::windowDidResignKey);
    }
    setWindowLevel();
    docked_ = defaults().isDocked();
    updateToggleDockedAction();
    if (!docked_)
        undockWindowAnimated(false);
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("Notification.disableWindowClosing"),
                       [this](const Notification&) { disableAutoHide(); });
    center.addObserver(this, QStringLiteral("Notification.enableWindowClosing"),
                       [this](const Notification&) { enableAutoHide(); });
    defaults().observeKey(QStringLiteral("shouldKeepAbove"), this, [this] { setWindowLevel(); });
}

void STDockableWindowController::setStatusItem(MTStatusItem* item) {
    if (statusItem_) {
        if (statusItem_->delegate() == this)
            statusItem_->setDelegate(nullptr);
        NotificationCenter::defaultCenter().removeObserver(
            this, MTStatusItem::lengthDidChangeNotification);
        disconnect(statusItem_, nullptr, this, nullptr);
    }
    statusItem_ = item;
    if (!item)
        return;
    item->setDelegate(this);
    if (!item->contextMenu())
        item->setContextMenu(defaultContextMenu());
    NotificationCenter::defaultCenter().addObserver(
        this, MTStatusItem::lengthDidChangeNotification,
        [this](const Notification&) { repositionDockedWindow(); }, item);
    connect(item, &MTStatusItem::frameChanged, this,
            &STDockableWindowController::repositionDockedWindow);
}

QRect STDockableWindowController::dockedWindowFrame(const QRect& bar, const QRect& icon,
                                                    const QRect& screen) {
    // Hanging from the icon's bottom-left corner, with no gap.
    QRect frame(QPoint(icon.left(), icon.top() + icon.height()), bar.size());
    if (!screen.isEmpty() && frame.left() + frame.width() > screen.left() + screen.width())
        frame.moveLeft(icon.left() + icon.width() - frame.width());
    return frame;
}

QRect STDockableWindowController::dockedWindowFrame() const {
    const QRect icon = statusItem_ ? statusItem_->frame() : QRect();
    QScreen* screen = QGuiApplication::screenAt(icon.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    return dockedWindowFrame(const_cast<STDockableWindowController*>(this)->window()->geometry(),
                             icon, area);
}

void STDockableWindowController::dockWindowAnimated(bool animated, bool showWindow) {
    const QRect frame = dockedWindowFrame();
    QPointer<QWidget> bar = window();
    auto place = [bar, frame] {
        if (bar)
            bar->setGeometry(frame);
    };
    if (animated)
        Scheduler::shared().schedule(fadeSeconds, false, place);
    else
        place();
    if (showWindow) {
        setMovable(false);
        ApplicationWindows::activate(bar);
    }
}

void STDockableWindowController::setMovable(bool movable) {
    if (auto* qvWindow = qobject_cast<QVWindow*>(window()))
        qvWindow->setMovableByWindowBackground(movable);
}

QString STDockableWindowController::undockedFrameString() const {
    return defaults().undockedFrame();
}

QString STDockableWindowController::stringWithSavedFrame() const {
    QWidget* bar = const_cast<STDockableWindowController*>(this)->window();
    QScreen* screen = bar->screen();
    return SavedFrame::format(bar->geometry(), screen ? screen->availableGeometry() : QRect());
}

void STDockableWindowController::setFrameFromString(const QString& text) {
    const std::optional<SavedFrame::Parsed> saved = SavedFrame::parse(text);
    if (!saved)
        return;
    QScreen* screen = QGuiApplication::screenAt(saved->frame.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    window()->setGeometry(
        SavedFrame::placeOn(saved->frame, screen ? screen->availableGeometry() : QRect()));
}

void STDockableWindowController::undockWindowAnimated(bool animated) {
    setWindowAlpha(0, animated);
    auto restore = [this, animated] {
        setFrameFromString(undockedFrameString());
        setWindowAlpha(1.0, animated);
    };
    if (animated)
        Scheduler::shared().schedule(fadeSeconds, false, restore);
    else
        restore();
    setMovable(true);
}

void STDockableWindowController::toggleDocked() {
    docked_ = !docked_;
    if (docked_) {
        defaults().setUndockedFrame(stringWithSavedFrame());
        dockWindowAnimated(true, true);
    } else {
        undockWindowAnimated(true);
    }
    defaults().setIsDocked(docked_);
    updateToggleDockedAction();
}

bool STDockableWindowController::menuShouldShow() {
    return MWCore::sharedInstance().canShowMainWindow();
}

bool STDockableWindowController::managerWindowVisible() const {
    return preferencesWindowController_ && preferencesWindowController_->isWindowLoaded() &&
           preferencesWindowController_->window()->isVisible();
}

void STDockableWindowController::menuIconWasClicked() {
    MWCore& core = MWCore::sharedInstance();
    if (!core.canShowMainWindow()) {
        core.showWindow();
        return;
    }
    QWidget* bar = window();
    if (mw_isFullScreen(bar)) {
        ApplicationWindows::activate(bar);
        return;
    }
    const bool managerVisible = managerWindowVisible();
    const double now = Scheduler::shared().now();
    const bool animated = !previousClickTime || now - *previousClickTime >= doubleClickSeconds;
    previousClickTime = now;
    if (!managerVisible && bar->isVisible() && canHide())
        actuallyHideWindow(animated);
    else
        actuallyShowWindow(animated);
    core.showAnyVisibleWindows();
    if (managerWindowVisible())
        ApplicationWindows::activate(preferencesWindowController_->window());
}

void STDockableWindowController::actuallyShowWindow(bool) {
    if (statusItem_)
        statusItem_->setActive(true);
    windowWillShow();
    // The tray says nothing when its icon moves; its place is read at each showing.
    repositionDockedWindow();
    QWidget* bar = window();
    if (fade_)
        fade_->stop();
    bar->show();
    bar->raise();
    if (mw_isFullScreen(bar)) {
        ApplicationWindows::activate(bar);
        return;
    }
    if (statusItem_)
        statusItem_->setActive(true);
    if (managerWindowVisible())
        ApplicationWindows::activate(preferencesWindowController_->window());
    else
        ApplicationWindows::activate(bar);
    bar->setWindowOpacity(1.0);
    windowDidShow();
}

void STDockableWindowController::actuallyHideWindow(bool animated) {
    if (statusItem_)
        statusItem_->setActive(false);
    windowWillHideAnimated(animated);
    setWindowAlpha(0, animated);
    QPointer<STDockableWindowController> self(this);
    auto finish = [self] {
        if (!self)
            return;
        self->window()->hide();
        self->windowDidHide();
        if (MWCore::sharedInstance().canShowMainWindow() && self->canHide())
            ApplicationWindows::hideApplication();
    };
    if (animated)
        Scheduler::shared().schedule(fadeSeconds, false, finish);
    else
        finish();
}

void STDockableWindowController::setWindowAlpha(double alpha, bool animated) {
    QWidget* bar = window();
    if (fade_)
        fade_->stop();
    if (!animated) {
        bar->setWindowOpacity(alpha);
        return;
    }
    fade_ = new QPropertyAnimation(bar, "windowOpacity", this);
    fade_->setDuration(int(fadeSeconds * 1000));
    fade_->setEndValue(alpha);
    fade_->start(QAbstractAnimation::DeleteWhenStopped);
}

void STDockableWindowController::windowDidMove() {
    if (!docked_)
        defaults().setUndockedFrame(stringWithSavedFrame());
}

void STDockableWindowController::windowDidBecomeKey() {
    if (statusItem_)
        statusItem_->setActive(true);
}

void STDockableWindowController::windowDidResignKey() {
    if (!canHide())
        return;
    if (MWCHappinessManager::ratingWindowIsVisible())
        return;
    if (!managerWindowVisible()) {
        if (statusItem_)
            statusItem_->setActive(false);
        if (!defaults().isBackgroundApp())
            actuallyHideWindow(false);
    }
    if (!defaults().shouldKeepAbove() && statusItem_)
        statusItem_->setActive(false);
}

void STDockableWindowController::setWindowLevel() {
    QWidget* bar = window();
    const bool wasVisible = bar->isVisible();
    bar->setWindowFlag(Qt::WindowStaysOnTopHint, defaults().shouldKeepAbove());
    if (wasVisible)
        bar->show();
}

void STDockableWindowController::disableAutoHide() {
    // The application stays in front: a window of someone else's is over the bar.
    if (window()->isVisible())
        ApplicationWindows::activate(window());
    canHide_ = false;
}

void STDockableWindowController::enableAutoHide() {
    canHide_ = true;
}

void STDockableWindowController::repositionDockedWindow() {
    if (docked_)
        dockWindowAnimated(false, false);
}
