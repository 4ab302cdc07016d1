#include "app/MWHotKeyHelper.h"

#include "platform/GlobalHotKeys.h"
#include "platform/ModifierFlags.h"
#include "platform/SystemLog.h"

namespace {
// Shared by the whole process, so an identifier is never handed out twice.
quint64 nextIdentifier = 1;
} // namespace

MWHotKeyHelper& MWHotKeyHelper::sharedHelper() {
    // Lives to the end of the process, like the grabs it holds.
    static MWHotKeyHelper* helper = new MWHotKeyHelper;
    return *helper;
}

MWHotKeyHelper::MWHotKeyHelper() {
    GlobalHotKeys::setHandler([this](quint32 identifier, bool pressed) {
        if (pressed)
            hotkeyWasPressedWithID(identifier);
        else
            hotkeyWasReleasedWithID(identifier);
    });
}

MWHotKeyHelper::~MWHotKeyHelper() {
    for (quint64 identifier : hotkeys_.keys())
        GlobalHotKeys::unregisterHotKey(quint32(identifier));
}

quint64 MWHotKeyHelper::translateModifierFlags(quint64 flags) {
    quint64 modifiers = 0;
    if (flags & ModifierFlags::command)
        modifiers |= GlobalHotKeys::commandKey;
    if (flags & ModifierFlags::shift)
        modifiers |= GlobalHotKeys::shiftKey;
    if (flags & ModifierFlags::option)
        modifiers |= GlobalHotKeys::optionKey;
    if (flags & ModifierFlags::control)
        modifiers |= GlobalHotKeys::controlKey;
    return modifiers;
}

quint64 MWHotKeyHelper::registerHotKey(const KeyCombo& combo) {
    if (combo.isEmpty())
        return failure;
    const quint64 identifier = nextIdentifier;
    if (!GlobalHotKeys::registerHotKey(qint64(qint32(combo.code)),
                                       quint32(translateModifierFlags(combo.flags)),
                                       quint32(identifier))) {
        SystemLog::write(QStringLiteral("[DEBUG] Error registering hotkey"));
        return failure;
    }
    hotkeys_.insert(identifier, combo);
    ++nextIdentifier;
    return identifier;
}

void MWHotKeyHelper::unregisterHotkeyWithID(quint64 identifier) {
    if (!hotkeys_.remove(identifier))
        return;
    GlobalHotKeys::unregisterHotKey(quint32(identifier));
}

void MWHotKeyHelper::hotkeyWasPressedWithID(quint64 identifier) {
    if (pressedBlock_)
        pressedBlock_(identifier);
}

void MWHotKeyHelper::hotkeyWasReleasedWithID(quint64 identifier) {
    if (releasedBlock_)
        releasedBlock_(identifier);
}
