#pragma once

#include "toolkit/MWViewController.h"

#include <QIcon>
#include <QString>
#include <memory>

class MWNavigationController;

// One module of the Manage window: what the window shows for it in its list and
// title bar, whether the window may be resized while it is shown, and its view.
class MWModuleViewController : public MWViewController {
    Q_OBJECT
public:
    bool moduleIsVisible() const { return moduleIsVisible_; }
    void setModuleIsVisible(bool visible);

    // The base answers YES whatever is stored; each module says for itself.
    virtual bool moduleIsResizable() const { return true; }
    void setModuleIsResizable(bool resizable) { moduleIsResizable_ = resizable; }

    QString moduleTitle() const { return moduleTitle_; }
    void setModuleTitle(const QString& title) { moduleTitle_ = title; }
    QString moduleSubTitle() const { return moduleSubTitle_; }
    void setModuleSubTitle(const QString& subTitle) { moduleSubTitle_ = subTitle; }
    QIcon moduleImage() const { return moduleImage_; }
    void setModuleImage(const QIcon& image) { moduleImage_ = image; }
    QString moduleWindowTitle() const { return moduleWindowTitle_; }
    void setModuleWindowTitle(const QString& title) { moduleWindowTitle_ = title; }

    MWNavigationController* moduleNavigationController() const;
    // A module whose layout holds a navigation controller hands it over here once
    // its view has loaded; the navigation controller learns at once whether the
    // module is shown, and from then on with every change.
    void attachNavigationController(MWNavigationController* navigationController);

    // Takes the list image from the layout: the theme icon named by the view's
    // "moduleImage" property.
    void mw_viewDidLoad() override;

private:
    bool moduleIsVisible_ = false;
    bool moduleIsResizable_ = false;
    QString moduleTitle_;
    QString moduleSubTitle_;
    QIcon moduleImage_;
    QString moduleWindowTitle_;
};

using MWModuleViewControllerPtr = std::shared_ptr<MWModuleViewController>;
