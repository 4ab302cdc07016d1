#include "manage/MWModuleViewController.h"

#include "manage/MWNavigationController.h"

void MWModuleViewController::setModuleIsVisible(bool visible) {
    moduleIsVisible_ = visible;
    if (MWNavigationController* navigation = moduleNavigationController())
        navigation->setIsVisible(visible);
}

MWNavigationController* MWModuleViewController::moduleNavigationController() const {
    return qobject_cast<MWNavigationController*>(navigationController());
}

void MWModuleViewController::attachNavigationController(
    MWNavigationController* navigationController) {
    setNavigationController(navigationController);
    if (navigationController)
        navigationController->setIsVisible(moduleIsVisible_);
}

void MWModuleViewController::mw_viewDidLoad() {
    MWViewController::mw_viewDidLoad();
    const QString imageName = view()->property("moduleImage").toString();
    if (!imageName.isEmpty() && moduleImage_.isNull())
        moduleImage_ = QIcon::fromTheme(imageName);
}
