#pragma once

#include "manage/MWModuleViewController.h"

// The program's name, version and copyright, and the maker's pages.
class WIAboutModule : public MWModuleViewController {
    Q_OBJECT
public:
    WIAboutModule() { setModuleTitle(QStringLiteral("About")); }
    bool moduleIsResizable() const override { return false; }
};
