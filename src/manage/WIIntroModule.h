#pragma once

#include "manage/MWModuleViewController.h"

// The welcome page: what Quiverlane is and how to begin. Its content is its layout.
class WIIntroModule : public MWModuleViewController {
    Q_OBJECT
public:
    WIIntroModule() { setModuleTitle(QStringLiteral("Welcome")); }
    bool moduleIsResizable() const override { return false; }
};
