#include "manage/WIEditorModule.h"

bool WIEditorModule::windowShouldClose(QWidget*) {
    // Nothing can be left half edited yet.
    return true;
}
