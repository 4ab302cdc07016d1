#pragma once

#include "bar/MTStatusItem.h"
#include "toolkit/MWWindowController.h"

#include <QPointer>
#include <QRect>

class QAction;
class QMenu;
class QPropertyAnimation;
class WIUserDefaults;

// The controller of the bar: one frameless window that hangs under the tray icon
// (docked) or floats where it was left (undocked), fades in and out, hides when
// it loses the focus, and toggles on clicks of the icon.
class STDockableWindowController : public MWWindowController, public MTStatusItemDelegate {
    Q_OBJECT
public:
    static constexpr double fadeSeconds = 0.2;
    static constexpr double doubleClickSeconds = 0.2;

    STDockableWindowController();
    ~STDockableWindowController() override;

    void mw_viewDidLoad() override;

    MWWindowController* preferencesWindowController() const { return preferencesWindowController_; }
    void setPreferencesWindowController(MWWindowController* controller) {
        preferencesWindowController_ = controller;
    }
    MTStatusItem* statusItem() const { return statusItem_; }
    virtual void setStatusItem(MTStatusItem* item);
    bool docked() const { return docked_; }
    virtual bool canHide() const { return canHide_; }
    void setCanHide(bool canHide) { canHide_ = canHide; }

    void toggleDocked();
    // The command that floats a docked bar or docks a floating one, for menus.
    QAction* toggleDockedAction() const { return toggleDockedAction_; }
    void dockWindowAnimated(bool animated, bool showWindow);
    QRect dockedWindowFrame() const;
    // The docked frame of a bar of frame `bar` under an icon at `icon` on a screen `screen`.
    static QRect dockedWindowFrame(const QRect& bar, const QRect& icon, const QRect& screen);
    QString undockedFrameString() const;
    void undockWindowAnimated(bool animated);

    // MTStatusItemDelegate
    bool answersMenuShouldShow() const override { return true; }
    bool menuShouldShow() override;
    bool handlesIconClicks() const override { return true; }
    void menuIconWasClicked() override;

    void windowDidMove();
    void windowDidBecomeKey();
    void windowDidResignKey();
    void setWindowLevel();
    void enableAutoHide();
    void disableAutoHide();
    virtual void repositionDockedWindow();

    virtual void windowWillShow() {}
    virtual void windowDidShow() {}
    virtual void windowWillHideAnimated(bool) {}
    virtual void windowDidHide() {}

    virtual void actuallyShowWindow(bool animated);
    virtual void actuallyHideWindow(bool animated);

    // For the settings: where the undocked bar is, in the saved-frame form.
    QString stringWithSavedFrame() const;

protected:
    QWidget* loadWindow() override;
    WIUserDefaults& defaults() const;

private:
    bool managerWindowVisible() const;
    void updateToggleDockedAction();
    QMenu* defaultContextMenu();
    void setMovable(bool movable);
    void setWindowAlpha(double alpha, bool animated);
    void setFrameFromString(const QString& text);

    QPointer<MWWindowController> preferencesWindowController_;
    QPointer<MTStatusItem> statusItem_;
    bool docked_ = true;
    bool canHide_ = true;
    QPointer<QPropertyAnimation> fade_;
    QAction* toggleDockedAction_ = nullptr;
    QMenu* defaultContextMenu_ = nullptr;
};
