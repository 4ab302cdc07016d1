#pragma once

#include "manage/MWModuleViewController.h"

// The settings as controls, each written straight into the settings object.
class WIPreferencesModule : public MWModuleViewController {
    Q_OBJECT
public:
    WIPreferencesModule() { setModuleTitle(QStringLiteral("Preferences")); }
    bool moduleIsResizable() const override { return false; }
};
