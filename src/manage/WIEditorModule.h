#pragma once

#include "manage/MWModuleViewController.h"

#include <QSize>

class QWidget;

// The group and shortcut editor. The user may resize the window around it, never
// below the area its lists need.
class WIEditorModule : public MWModuleViewController {
    Q_OBJECT
public:
    static constexpr QSize minimumAreaSize{811, 500};

    WIEditorModule() { setModuleTitle(QStringLiteral("Manage Shortcuts")); }
    bool moduleIsResizable() const override { return true; }
    QSize viewMinSize() const override { return minimumAreaSize; }

    // Asked before the Manage window closes; NO keeps it open. The editor refuses
    // while an edit it cannot give up is in progress (a group left without a name).
    virtual bool windowShouldClose(QWidget* window);
};
