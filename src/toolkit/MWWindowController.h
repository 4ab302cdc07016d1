#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

// The base of every window controller: its window comes from the layout named
// after its class, loaded on first use; mw_viewDidLoad runs exactly once.
class MWWindowController : public QObject {
    Q_OBJECT
public:
    MWWindowController();
    ~MWWindowController() override;

    template <class T> static std::unique_ptr<T> controller() {
        auto made = std::make_unique<T>();
        made->layoutName_ = QString::fromLatin1(T::staticMetaObject.className());
        return made;
    }

    QString layoutName() const { return layoutName_; }
    QWidget* window();
    bool isWindowLoaded() const { return window_ != nullptr; }
    template <class W = QWidget> W* outlet(const QString& name) {
        return window()->findChild<W*>(name);
    }

    void awakeFromNib();
    bool mwViewIsLoaded() const { return viewIsLoaded_; }

    QWidget* parentWindow() const { return parentWindow_; }
    void setParentWindow(QWidget* window) { parentWindow_ = window; }
    MWWindowController* parentWindowController() const { return parentWindowController_; }
    void setParentWindowController(MWWindowController* controller) {
        parentWindowController_ = controller;
    }

    // The window as a window-modal sheet over `host`, and its end.
    void beginSheetInWindow(QWidget* host);
    void closeSheet();
    void didEndSheet(QWidget* sheet, int returnCode);
    bool isSheetOpen() const { return sheetHost_ != nullptr; }

    virtual void mw_viewDidLoad() {}
    virtual void mw_sheetWillAppear() {}
    virtual void mw_sheetDidAppear() {}
    virtual void mw_sheetWillDisappear() {}
    virtual void mw_sheetDidDisappear() {}

protected:
    // The window of a controller without a layout.
    virtual QWidget* loadWindow() { return new QWidget; }

private:
    QString layoutName_;
    QPointer<QWidget> window_;
    bool viewIsLoaded_ = false;
    QPointer<QWidget> parentWindow_;
    QPointer<MWWindowController> parentWindowController_;
    QPointer<QWidget> sheetHost_;
};
